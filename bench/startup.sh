#!/usr/bin/env bash
# Start-up of the application beside a bare Qt window, on a virtual display.
set -euo pipefail
build=${1:-build-release}
displayfile=$(mktemp)
Xvfb -noreset -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -f "$displayfile"' EXIT
for _ in $(seq 100); do [ -s "$displayfile" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$displayfile")" QT_QPA_PLATFORM=xcb
"$build/bin/startup_timing" "${RUNS:-15}" "$build/bin/kestrova" "$build/bin/bare_window"
