#!/usr/bin/env bash
# Starts the application on a virtual display and uses it as a person would:
# waits for the splash to give way, types the three proportions with real
# keystrokes (a letter and a minus sign among them, which must not arrive),
# clicks Calculate, takes a screenshot, clicks Clear, quits with Ctrl+Q and
# checks the exit status.
set -euo pipefail
app=$1
artifacts=$2
mkdir -p "$artifacts"
rm -f "$artifacts"/*.png

fail() {
  echo "end-to-end: $*" >&2
  exit 1
}

displayfile=$(mktemp)
# Without -noreset the server resets whenever its last client leaves and drops
# the connections that arrive meanwhile.
Xvfb -noreset -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" 2>/dev/null &
xvfb=$!
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -f "$displayfile"
}
trap cleanup EXIT
for _ in $(seq 100); do
  [ -s "$displayfile" ] && break
  sleep 0.1
done
[ -s "$displayfile" ] || fail "the virtual display did not start"
export DISPLAY=":$(head -n1 "$displayfile")"
export QT_QPA_PLATFORM=xcb

# The calculator: a visible window of this application titled Kestrova, of the
# normal type. A message box shares the title and the class, not the type.
calculator_window() {
  local id props
  for id in $(xdotool search --onlyvisible --name '^Kestrova$' 2>/dev/null); do
    props=$(xprop -id "$id" WM_CLASS _NET_WM_WINDOW_TYPE 2>/dev/null || true)
    if grep -q '^WM_CLASS(STRING) = ".*", "Kestrova"$' <<<"$props" &&
      grep -q '^_NET_WM_WINDOW_TYPE(ATOM) = _NET_WM_WINDOW_TYPE_NORMAL$' <<<"$props"; then
      echo "$id"
      return 0
    fi
  done
  return 1
}

wait_calculator() {
  for _ in $(seq "$1"); do
    calculator_window && return 0
    sleep 0.1
  done
  return 1
}

# Visible top-level windows; the root window is always visible.
root=$(xwininfo -root -int | awk '/Window id:/ { print $4 }')
[ -n "$root" ] || fail "the root window of $DISPLAY cannot be read"
visible_windows() {
  xdotool search --onlyvisible --maxdepth 1 --name '.*' 2>/dev/null | grep -cvx "$root" || true
}

"$app" &
app_pid=$!
start=$(date +%s.%N)

# The splash comes first: an untitled window, and no calculator yet.
for _ in $(seq 300); do
  [ "$(visible_windows)" -gt 0 ] && break
  sleep 0.05
done
[ "$(visible_windows)" -gt 0 ] || fail "no window appeared"
if calculator_window >/dev/null; then fail "the calculator came before the splash"; fi
import -window root "$artifacts/splash.png"

if ! window=$(wait_calculator 150); then
  other=$(xdotool search --onlyvisible --name '^Kestrova$' 2>/dev/null | head -n1 || true)
  if [ -n "$other" ]; then
    fail "the window titled Kestrova is not the calculator:" \
      "$(xprop -id "$other" WM_CLASS _NET_WM_WINDOW_TYPE | tr '\n' ' ')"
  fi
  fail "the splash did not give way to the calculator"
fi
gave_way=$(echo "$(date +%s.%N) - $start" | bc)
echo "end-to-end: the calculator window appeared after ${gave_way} s"
sleep 0.3

eval "$(xdotool getwindowgeometry --shell "$window")"
# The client area is 880 x 700; the menu bar sits above it.
menu=$((HEIGHT - 700))
[ "$WIDTH" -eq 880 ] || fail "the calculator window is $WIDTH wide, not 880"
[ "$menu" -gt 0 ] || fail "the calculator window shows no menu bar"
click() {
  xdotool mousemove --sync $((X + $1)) $((Y + menu + $2)) click 1
  sleep 0.2
}

click 76 156            # prevalence field
xdotool type --delay 60 -- '.0-1x5'
click 210 156           # sensitivity field
xdotool type --delay 60 -- '.6a7'
click 348 156           # specificity field
xdotool type --delay 60 -- '-.91'
before=$(visible_windows)
click 70 660            # Calculate
sleep 0.5
after=$(visible_windows)
import -window root "$artifacts/calculator.png"
echo "end-to-end: screenshot after Calculate: $artifacts/calculator.png"
# A refusal would have opened a message box: the typed letters and minus
# signs must not have reached the fields.
[ "$after" -eq "$before" ] || fail "Calculate opened another window (a refusal?)"

click 440 660           # Clear
import -window root "$artifacts/cleared.png"
xdotool key --clearmodifiers ctrl+q

for _ in $(seq 100); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$app_pid" 2>/dev/null; then fail "Ctrl+Q did not end the application"; fi
status=0
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "the application exited with status $status"
echo "end-to-end: passed (exit status 0; screenshots in $artifacts)"
