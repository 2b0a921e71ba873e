#!/usr/bin/env bash
# Sourced by the end-to-end scripts: starts a virtual X server, exports its
# DISPLAY and stops it when the script exits. Without -noreset the server
# resets whenever its last client leaves and drops the connections that arrive
# meanwhile.
start_display() {
  local displayfile
  displayfile=$(mktemp)
  Xvfb -noreset -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$displayfile" ] && break
    sleep 0.1
  done
  if ! [ -s "$displayfile" ]; then
    rm -f "$displayfile"
    echo "the virtual display did not start" >&2
    return 1
  fi
  export DISPLAY=":$(head -n1 "$displayfile")"
  export QT_QPA_PLATFORM=xcb
  rm -f "$displayfile"
}
