#!/usr/bin/env bash
# The program starts wherever Qt starts, and where Qt can start no platform it
# says what Qt was asked to open and ends with status 1, never an abort. Each
# row: what must happen, the environment (the variables not named are unset;
# @ stands for a virtual display of one screen) and the arguments.
#   shows      a window of the program's appears on the virtual display
#   runs       the program is still running after 3 s (no display to look at)
#   otherwise  status 1, and this line after "kestrova: cannot open a window: "
#   platforms.sh <program>
set -uo pipefail
program=$1
source "$(dirname "$0")/../../scripts/display.sh"
start_display || exit 1
# The tools at the paths CMake found; run by hand, those on PATH.
: "${XDOTOOL:=xdotool}"

none="with no display (DISPLAY and WAYLAND_DISPLAY are not set)"
rows=(
  "shows|DISPLAY=@|"
  "shows|QT_QPA_PLATFORM=xcb DISPLAY=@|"
  "shows|QT_QPA_PLATFORM=wayland;xcb DISPLAY=@|"
  "shows|WAYLAND_DISPLAY=kestrova-none DISPLAY=@|"
  "shows|DISPLAY=:65000|-display @"
  "runs||-platform offscreen"
  "runs|QT_QPA_PLATFORM=xcb|--platform offscreen"
  "Qt could not start its default platform $none||"
  "Qt could not start the platform \"xcb\" $none|QT_QPA_PLATFORM=xcb|"
  "Qt could not start its default platform on DISPLAY=\":65000\"|DISPLAY=:65000|"
  "Qt could not start the platform \"xcb\" on DISPLAY=\":65000\"|QT_QPA_PLATFORM=xcb DISPLAY=:65000|"
  "Qt could not start the platform \"xcb\" on DISPLAY=\"@.5\"|QT_QPA_PLATFORM=xcb DISPLAY=@.5|"
  "Qt could not start its default platform on -display \"@.3\"|DISPLAY=@|-display @.3"
  "Qt could not start its default platform on WAYLAND_DISPLAY=\"kestrova-none\"|WAYLAND_DISPLAY=kestrova-none|"
  "Qt could not start the platform \"wayland\" on DISPLAY=\"@\"|QT_QPA_PLATFORM=wayland DISPLAY=@|"
  "Qt could not start the platform \"nonsense\" on DISPLAY=\"@\"|QT_QPA_PLATFORM=nonsense DISPLAY=@|"
  "Qt could not start the platform \"nonsense\" on DISPLAY=\"@\"|QT_QPA_PLATFORM=xcb DISPLAY=@|-platform nonsense"
)

failures=0
for row in "${rows[@]}"; do
  row=${row//@/$DISPLAY}
  IFS='|' read -r want environment arguments <<<"$row"
  read -ra environment <<<"$environment"
  read -ra arguments <<<"$arguments"
  run=(env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY -u XDG_SESSION_TYPE
    "${environment[@]}" "$program" "${arguments[@]}")
  case="${environment[*]} ${arguments[*]}"
  case=${case# }
  case $want in
    shows | runs)
      "${run[@]}" 2>/dev/null &
      app_pid=$!
      seen=""
      if [ "$want" = runs ]; then
        sleep 3
        kill -0 "$app_pid" 2>/dev/null && seen=yes
      else
        for _ in $(seq 300); do
          kill -0 "$app_pid" 2>/dev/null || break
          "$XDOTOOL" search --onlyvisible --pid "$app_pid" >/dev/null 2>&1 && seen=yes && break
          sleep 0.1
        done
      fi
      if [ -z "$seen" ]; then
        if kill -0 "$app_pid" 2>/dev/null; then
          outcome="it shows no window"
        else
          wait "$app_pid"
          outcome="it ended with status $?"
        fi
        echo "FAIL [$case] $want no window ($outcome)"
        failures=$((failures + 1))
      else
        echo "ok   [$case] $want"
      fi
      kill "$app_pid" 2>/dev/null
      wait "$app_pid" 2>/dev/null
      app_pid=""
      ;;
    *)
      err=$(timeout 30 "${run[@]}" 2>&1 >/dev/null)
      status=$?
      if [ "$status" -eq 1 ] && grep -qxF -- "kestrova: cannot open a window: $want" <<<"$err"; then
        echo "ok   [$case] status 1: $want"
      else
        echo "FAIL [$case] must end with status 1 and say: $want"
        echo "     it ended with status $status and said:"
        sed 's/^/       /' <<<"$err"
        failures=$((failures + 1))
      fi
      ;;
  esac
done
echo "${#rows[@]} rows, $failures failed"
[ "$failures" -eq 0 ]
