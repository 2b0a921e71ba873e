#!/usr/bin/env bash
# Start-up of the application beside a bare Qt window, on a virtual display.
set -euo pipefail
build=${1:-build-release}
source "$(dirname "$0")/../scripts/display.sh"
start_display
"$build/bin/startup_timing" "${RUNS:-15}" "$build/bin/kestrova" "$build/bin/bare_window"
