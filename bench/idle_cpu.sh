#!/usr/bin/env bash
# CPU used over 30 s by Tivorama with a game running and no input, beside a
# bare Qt window whose label ticks once a second. Usage: idle_cpu.sh
# [seconds] [fifteen|saper|sea]. Both run on a
# private Xvfb server; CPU time is read from the kernel's per-thread
# schedstat (nanoseconds, all threads). Needs the build in build/, xvfb and
# xdotool.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"
seconds=${1:-30}
game=${2:-fifteen}
case $game in
  fifteen) key=F2 title='Пятнашки' ;;
  saper) key=F3 title='Сапер' ;;
  sea) key=F4 title='Морской бой' ;;
  *) echo "unknown game $game" >&2; exit 2 ;;
esac
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
export XDG_RUNTIME_DIR=$runtime DISPLAY=$display QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

cpu_ns() { # pid: CPU time of all its threads, in nanoseconds
  local total=0 t
  for t in /proc/"$1"/task/*/schedstat; do
    total=$((total + $(cut -d' ' -f1 "$t")))
  done
  echo "$total"
}

measure() { # name pid
  local before after
  before=$(cpu_ns "$2")
  sleep "$seconds"
  after=$(cpu_ns "$2")
  awk -v n="$1" -v d=$((after - before)) -v s="$seconds" \
    'BEGIN { printf "%-22s %8.1f ms CPU in %d s = %.3f %% of one core\n", n, d / 1e6, s, d / 1e7 / s }'
}

"$build/bench/ticking_label" &
label=$!
sleep 2
measure "ticking label" "$label"
kill "$label"

work=$(mktemp -d)
cp "$build"/*.wav "$build"/*.doc "$work"/
cp "$build/tivorama" "$work/"
(cd "$work" && ./tivorama) &
app=$!
xdotool search --sync --name '^Tivorama 1.0$' windowfocus --sync >/dev/null 2>&1
xdotool key "$key"                               # the launcher shows the game
xdotool search --sync --name "^$title\$" windowfocus --sync >/dev/null 2>&1
xdotool key F2                                   # a new game: the clock runs
sleep 5                                          # past the start cue
measure "Tivorama, $game game" "$app"
kill "$app"
rm -rf "$work"
