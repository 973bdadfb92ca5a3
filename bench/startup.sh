#!/usr/bin/env bash
# Start-up of Tivorama beside a minimal Qt window built the same way: time
# from exec until the first window is exposed (with the processor time used
# by then, which a busy machine disturbs far less) and resident memory 2 s
# later, median of 5 runs each, on a private Xvfb server without a window
# manager. Arguments NAME=PROGRAM measure more programs in the same run, for
# example an earlier build of Tivorama copied aside.
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

names=("minimal window" "Tivorama")
programs=("$build/bench/minimal_window" "$build/tivorama")
for extra in "$@"; do
  names+=("${extra%%=*}"); programs+=("${extra#*=}")
done

# The programs take turns, run after run, so that other work coming and
# going on the machine weighs on each alike.
declare -A times mems cpus
for _ in 1 2 3 4 5; do
  for i in "${!programs[@]}"; do
    line=$(cd "$build" && "$probe" "${programs[$i]}")
    read -r t m c <<<"$line"
    times[$i]+="$t "; mems[$i]+="$m "; cpus[$i]+="$c "
  done
done

for i in "${!programs[@]}"; do
  tm=$(printf '%s\n' ${times[$i]} | median)
  mm=$(printf '%s\n' ${mems[$i]} | median)
  cm=$(printf '%s\n' ${cpus[$i]} | median)
  printf '%-16s exposed after %7.1f ms   resident %6.1f MB   processor %6.1f ms   (runs: %s ms)\n' \
    "${names[$i]}" "$tm" "$(awk -v k="$mm" 'BEGIN { print k / 1024 }')" "$cm" "${times[$i]% }"
done
