#!/usr/bin/env bash
# The program starts wherever Qt starts, and where Qt can start no platform it
# says what Qt was asked to open and ends with status 1, never an abort; when
# its display goes away, it ends as Qt ends a program whose X11 connection
# broke, with status 1 and no crash; and at Quit it hands what it copied to a
# clipboard manager. Each row: what must happen, the
# environment (the variables not named are unset; @ stands for a virtual
# display of one screen), the arguments, and for a failed start a line of
# Qt's own that must come before the program's.
#   shows        a window of the program's appears on the virtual display
#   runs         the program is still running after 3 s (no display to look at)
#   gone:<what>  on a server of its own, with <what> up (splash, calculator or
#                help), the server goes away: status 1
#   kept:<text>  on a server of its own where a clipboard manager runs, the
#                result of .5, .5 and .5 copied with Ctrl+C, then Ctrl+Q:
#                status 0, and the manager was handed <text>
#   otherwise    status 1, and this line after "kestrova: cannot open a window: "
#                as the last line it writes
#   platforms.sh <program> <clipboard manager>
set -uo pipefail
program=$1
manager=$2
source "$(dirname "$0")/../../scripts/display.sh"
start_display || exit 1
# The tools at the paths CMake found; run by hand, those on PATH.
: "${XDOTOOL:=xdotool}"

no="WAYLAND_DISPLAY is not set, DISPLAY is not set"
rows=(
  "shows|DISPLAY=@|"
  "shows|QT_QPA_PLATFORM=xcb DISPLAY=@|"
  "shows|QT_QPA_PLATFORM=wayland;xcb DISPLAY=@|"
  "shows|WAYLAND_DISPLAY=kestrova-none DISPLAY=@|"
  "shows|DISPLAY=:65000|-display @"
  "shows|DISPLAY=@|-platform nonsense -platform xcb"
  "runs||-platform offscreen"
  "runs|QT_QPA_PLATFORM=xcb|--platform offscreen"
  "gone:splash||"
  "gone:calculator||"
  "gone:help||"
  "kept:.500||"
  "Qt could not start its default platform ($no)||"
  "Qt could not start the platform \"xcb\" given by QT_QPA_PLATFORM ($no)|QT_QPA_PLATFORM=xcb|"
  "Qt could not start its default platform (WAYLAND_DISPLAY is not set, DISPLAY is \":65000\")|DISPLAY=:65000||qt.qpa.xcb: could not connect to display :65000"
  "Qt could not start the platform \"xcb\" given by QT_QPA_PLATFORM (WAYLAND_DISPLAY is not set, DISPLAY is \":65000\")|QT_QPA_PLATFORM=xcb DISPLAY=:65000|"
  "Qt could not start the platform \"xcb\" given by QT_QPA_PLATFORM (WAYLAND_DISPLAY is not set, DISPLAY is \"@.5\")|QT_QPA_PLATFORM=xcb DISPLAY=@.5|"
  "Qt could not start its default platform (WAYLAND_DISPLAY is not set, DISPLAY is \"@\", -display is \"@.3\")|DISPLAY=@|-display @.3|qt.qpa.xcb: could not connect to display @.3"
  "Qt could not start its default platform (WAYLAND_DISPLAY is \"kestrova-none\", DISPLAY is not set)|WAYLAND_DISPLAY=kestrova-none|"
  "Qt could not start its default platform (WAYLAND_DISPLAY is \"kestrova-none\", DISPLAY is \":65000\")|WAYLAND_DISPLAY=kestrova-none DISPLAY=:65000|"
  "Qt could not start the platform \"wayland\" given by QT_QPA_PLATFORM (WAYLAND_DISPLAY is not set, DISPLAY is \"@\")|QT_QPA_PLATFORM=wayland DISPLAY=@|"
  "Qt could not start the platform \"nonsense\" given by QT_QPA_PLATFORM (WAYLAND_DISPLAY is not set, DISPLAY is \"@\")|QT_QPA_PLATFORM=nonsense DISPLAY=@|"
  "Qt could not start the platform \"nonsense\" given by -platform (WAYLAND_DISPLAY is not set, DISPLAY is \"@\")|QT_QPA_PLATFORM=xcb DISPLAY=@|-platform nonsense"
  "Qt could not start the platform \"nonsense\" given by -platform (WAYLAND_DISPLAY is not set, DISPLAY is \"@\")|DISPLAY=@|--platform nonsense"
  "Qt could not start the platform \"nonsense\" given by -platform (WAYLAND_DISPLAY is not set, DISPLAY is \"@\")|DISPLAY=@|-platform xcb -platform nonsense"
  "Qt could not start the platform \"nonsense\" given by QT_QPA_PLATFORM (WAYLAND_DISPLAY is not set, DISPLAY is \"@\")|QT_QPA_PLATFORM=nonsense DISPLAY=@|-platform"
)

err=$(mktemp)
kept=$(mktemp -d)
manager_pid=""
trap 'stop_display; [ -z "$manager_pid" ] || kill "$manager_pid" 2>/dev/null; rm -rf "$err" "$kept"' EXIT
failures=0
fail() {
  echo "FAIL [$case] $*"
  sed 's/^/       /' "$err"
  failures=$((failures + 1))
}

# A visible window of the program's on display $1 whose name matches $2.
window_of() {
  DISPLAY=$1 "$XDOTOOL" search --all --onlyvisible --pid "$app_pid" --name "$2" 2>/dev/null |
    head -n1
}

wait_window() {
  local id
  for _ in $(seq 300); do
    kill -0 "$app_pid" 2>/dev/null || return 1
    id=$(window_of "$1" "$2") && [ -n "$id" ] && echo "$id" && return 0
    sleep 0.1
  done
  return 1
}

# Brings up what a row names on display $1, as a person would: the
# calculator with a proportion typed into its first field (at (36, 145) in
# its 880 by 700 client area below the menu bar), the help through the
# calculator's "?" button (at (770, 640)), a result: .5 in the other two
# fields too (at (170, 145) and (308, 145)), Calculate (at (30, 640)), and
# the result field (at (772, 145)) selected and copied.
bring_up() {
  local id
  wait_window "$1" '^$' >/dev/null || return 1
  [ "$2" = splash ] && return 0
  DISPLAY=$1 "$XDOTOOL" search --all --onlyvisible --pid "$app_pid" --name '^$' \
    mousemove --window %1 10 10 click 1 >/dev/null 2>&1 || return 1
  id=$(wait_window "$1" '^Kestrova$') || return 1
  eval "$(DISPLAY=$1 "$XDOTOOL" getwindowgeometry --shell "$id")"
  local menu=$((HEIGHT - 700))
  DISPLAY=$1 "$XDOTOOL" mousemove --window "$id" 50 $((menu + 156)) click 1 \
    sleep 0.2 type .5 >/dev/null 2>&1 || return 1
  [ "$2" = calculator ] && return 0
  if [ "$2" = result ]; then
    local x
    for x in 210 348; do
      DISPLAY=$1 "$XDOTOOL" mousemove --window "$id" $x $((menu + 156)) click 1 \
        sleep 0.2 type .5 >/dev/null 2>&1 || return 1
    done
    DISPLAY=$1 "$XDOTOOL" mousemove --window "$id" 70 $((menu + 660)) click 1 sleep 0.2 \
      mousemove --window "$id" 807 $((menu + 156)) click 1 sleep 0.2 \
      key ctrl+a ctrl+c >/dev/null 2>&1
    return
  fi
  DISPLAY=$1 "$XDOTOOL" mousemove --window "$id" 810 $((menu + 660)) click 1 >/dev/null 2>&1 &&
    wait_window "$1" '^Info$' >/dev/null
}

# Waits up to $2 tenths of a second for process $1 to end; fails if it runs on.
wait_end() {
  for _ in $(seq "$2"); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
  ! kill -0 "$1" 2>/dev/null
}

for row in "${rows[@]}"; do
  row=${row//@/$DISPLAY}
  IFS='|' read -r want environment arguments qt_line <<<"$row"
  read -ra environment <<<"$environment"
  read -ra arguments <<<"$arguments"
  run=(env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY -u XDG_SESSION_TYPE
    "${environment[@]}" "$program" "${arguments[@]}")
  case="${environment[*]} ${arguments[*]}"
  case=${case# }
  case=${case% }
  case $want in
    shows | runs)
      "${run[@]}" 2>"$err" &
      app_pid=$!
      seen=""
      if [ "$want" = runs ]; then
        sleep 3
        kill -0 "$app_pid" 2>/dev/null && seen=yes
      else
        wait_window "$DISPLAY" '.*' >/dev/null && seen=yes
      fi
      if [ -z "$seen" ]; then
        if kill -0 "$app_pid" 2>/dev/null; then
          outcome="it shows no window"
        else
          wait "$app_pid"
          outcome="it ended with status $?"
        fi
        fail "$want no window ($outcome); it said:"
      else
        echo "ok   [$case] $want"
      fi
      kill "$app_pid" 2>/dev/null
      wait "$app_pid" 2>/dev/null
      app_pid=""
      ;;
    gone:*)
      what=${want#gone:}
      case="display lost with the $what up"
      if ! start_server; then
        fail "no server of its own"
        continue
      fi
      "${run[@]}" -display "$server_display" 2>"$err" &
      app_pid=$!
      if bring_up "$server_display" "$what"; then
        kill "$server_pid"
        wait "$server_pid" 2>/dev/null
        if ! wait_end "$app_pid" 100; then
          fail "still running 10 s after its display went away; it said:"
        else
          wait "$app_pid"
          status=$?
          if [ "$status" -eq 1 ]; then
            echo "ok   [$case] status 1"
          else
            fail "must end with status 1; it ended with status $status and said:"
          fi
        fi
      else
        fail "the $what did not come up; it said:"
        kill "$server_pid" 2>/dev/null
      fi
      kill "$app_pid" 2>/dev/null
      wait "$app_pid" 2>/dev/null
      app_pid=""
      ;;
    kept:*)
      text=${want#kept:}
      case="the copied result at Quit, with a clipboard manager"
      if ! start_server; then
        fail "no server of its own"
        continue
      fi
      rm -f "$kept"/*
      # The manager gives up by itself after 60 s; it is stopped long before.
      DISPLAY=$server_display "$manager" 60 "$kept/ready" "$kept/received" 2>"$err" &
      manager_pid=$!
      for _ in $(seq 100); do
        [ -e "$kept/ready" ] || ! kill -0 "$manager_pid" 2>/dev/null && break
        sleep 0.1
      done
      if ! [ -e "$kept/ready" ]; then
        fail "the clipboard manager did not start; it said:"
      else
        "${run[@]}" -display "$server_display" 2>>"$err" &
        app_pid=$!
        if ! bring_up "$server_display" result; then
          fail "no result could be copied; they said:"
        elif ! DISPLAY=$server_display "$XDOTOOL" key ctrl+q >/dev/null 2>&1 ||
          ! wait_end "$app_pid" 100; then
          fail "still running 10 s after Ctrl+Q; they said:"
        else
          wait "$app_pid"
          status=$?
          app_pid=""
          # The program waits for the manager's answer before it ends.
          wait_end "$manager_pid" 50 || kill "$manager_pid"
          wait "$manager_pid"
          handed=$?
          manager_pid=""
          if [ "$status" -ne 0 ]; then
            fail "must end with status 0; it ended with status $status and they said:"
          elif [ "$handed" -ne 0 ]; then
            fail "the clipboard manager was handed nothing (its status $handed); they said:"
          elif ! cmp -s "$kept/received" <(printf '%s' "$text"); then
            fail "the clipboard manager was handed '$(cat "$kept/received")' (want '$text')"
          else
            echo "ok   [$case] status 0, the manager was handed $text"
          fi
        fi
      fi
      for pid in $app_pid $manager_pid $server_pid; do
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
      done
      app_pid="" manager_pid=""
      ;;
    *)
      timeout 30 "${run[@]}" 2>"$err" >/dev/null
      status=$?
      ours="kestrova: cannot open a window: $want"
      before=$(head -n -1 "$err")
      if [ "$status" -eq 1 ] && [ "$(tail -n1 "$err")" = "$ours" ] &&
        ! grep -qF -- "$ours" <<<"$before" &&
        { [ -z "$qt_line" ] || grep -qxF -- "$qt_line" <<<"$before"; }; then
        echo "ok   [$case] status 1: $want"
      else
        expected="must end with status 1 and say, last: $want"
        [ -z "$qt_line" ] || expected+=", after Qt's own line: $qt_line"
        fail "$expected; it ended with status $status and said:"
      fi
      ;;
  esac
done
echo "${#rows[@]} rows, $failures failed"
[ "$failures" -eq 0 ]
