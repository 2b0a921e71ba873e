#!/usr/bin/env bash
# A screen the display does not have (screen 5 of a one-screen server): a
# message that names it, status 1, no abort.
#   missing_screen.sh <program>
set -uo pipefail
source "$(dirname "$0")/../../scripts/display.sh"
start_display || exit 1
asked="$DISPLAY.5"
err=$(DISPLAY=$asked timeout 20 "$1" 2>&1 >/dev/null)
status=$?
echo "$err"
[ "$status" -eq 1 ] && grep -q "cannot open the display $asked: it has no screen 5$" <<<"$err"
