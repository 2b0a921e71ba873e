#!/usr/bin/env bash
# Resident memory of the application while the help window opens and closes,
# on a virtual display: the calculator's "?" clicked, the help window drawn,
# then closed by a window manager's close request. Prints the curve, cycles
# against VmRSS in KiB, and the growth over the last cycles after a warm-up.
#   bench/window_memory.sh [BUILD]        CYCLES=6000 EVERY=250 WARMUP=4000
# WRAP runs the application under a tool, e.g. WRAP="heaptrack -o /tmp/help";
# with STOP=term the run ends with SIGTERM instead of Quit, so that what the
# tool reports as leaked is what was still held after the last cycle (diff two
# runs of different lengths with heaptrack_print -d to see what grows).
set -euo pipefail
build=${1:-build-release}
cycles=${CYCLES:-6000}
every=${EVERY:-250}
warmup=${WARMUP:-4000}

source "$(dirname "$0")/../scripts/display.sh"
start_display
curve=$(mktemp)
trap 'stop_display; rm -f "$curve"' EXIT

# shellcheck disable=SC2086
${WRAP:-} "$build/bin/kestrova" >/dev/null &
app_pid=$!
# The "?" button's middle, in the calculator's 700-pixel-high client area.
"$build/bin/window_cycles" "$cycles" "$every" Kestrova 700 810 660 Info | tee "$curve"

awk -v warmup="$warmup" 'NR > 1 {
    if ($1 <= warmup) at = $2
    last = $1; end = $2
  }
  END {
    if (last > warmup) printf "after %d cycles: %+d KiB over the last %d\n", warmup, end - at, last - warmup
  }' "$curve"
# Ends the application as a person would, so that a wrapping tool writes its
# report; without a window manager the window must be given the focus first.
window=$(xdotool search --onlyvisible --name '^Kestrova$' | tail -n1)
if [ "${STOP:-}" = term ]; then
  kill -TERM "$(xprop -id "$window" _NET_WM_PID | awk '{print $NF}')"
else
  xdotool windowfocus --sync "$window" key --clearmodifiers ctrl+q
fi
wait "$app_pid" || echo "the application exited with status $?"
app_pid=""
