#!/usr/bin/env bash
# Start-up of Tivorama beside a minimal Qt window built the same way: time
# from exec until the first window is exposed and resident memory 2 s later,
# median of 5 runs each, on a private Xvfb server without a window manager.
# Needs the build in build/ (scripts/test or scripts/run made it) and xvfb.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"
probe="$build/bench/startup_probe"
# Xvfb picks a free display itself and says which once it takes clients, so
# two measurements never race for one display or start before the server.
fifo=$(mktemp -u) && mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb=$!
read -r number <"$fifo"
rm -f "$fifo"
display=:$number
trap 'kill $xvfb 2>/dev/null || true' EXIT
runtime=$(mktemp -d) && chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime DISPLAY=$display QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy
work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT

median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

measure() { # name program
  local name=$1 program=$2 times=() mems=()
  for _ in 1 2 3 4 5; do
    read -r t m < <(cd "$build" && "$probe" "$program")
    times+=("$t"); mems+=("$m")
  done
  local tm mm
  tm=$(printf '%s\n' "${times[@]}" | median)
  mm=$(printf '%s\n' "${mems[@]}" | median)
  printf '%-16s exposed after %7.1f ms   resident %6.1f MB   (runs: %s ms)\n' \
    "$name" "$tm" "$(awk -v k="$mm" 'BEGIN { print k / 1024 }')" "${times[*]}"
}

measure "minimal window" "$build/bench/minimal_window"
measure "Tivorama" "$build/tivorama"
