#!/usr/bin/env bash
# Sourced by the scripts that drive the real program (the end-to-end tests and
# the benchmarks): starts a virtual X server with one screen (the program that
# XVFB names, by default Xvfb) and exports its DISPLAY; when the script exits,
# the program under test (app_pid) and the servers are stopped. Without -noreset
# the server resets whenever its last client leaves and drops the connections
# that arrive meanwhile.
app_pid=""
server_pids=()
stop_display() {
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; fi
  for pid in "${server_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
}

# Starts one more server and sets server_pid and server_display (":N"); it is
# stopped with the others when the script exits (the first call sets the trap,
# which a script may then widen).
start_server() {
  if ((${#server_pids[@]} == 0)); then trap stop_display EXIT; fi
  local displayfile errors
  displayfile=$(mktemp)
  # What the server says is shown only when it does not start.
  errors=$(mktemp)
  "${XVFB:-Xvfb}" -noreset -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
    3>"$displayfile" 2>"$errors" &
  server_pid=$!
  server_pids+=("$server_pid")
  for _ in $(seq 100); do
    [ -s "$displayfile" ] && break
    # A server that has exited will not write its display any more.
    kill -0 "$server_pid" 2>/dev/null || break
    sleep 0.1
  done
  if ! [ -s "$displayfile" ]; then
    echo "the virtual display did not start; the server said:" >&2
    cat "$errors" >&2
    rm -f "$displayfile" "$errors"
    return 1
  fi
  server_display=":$(head -n1 "$displayfile")"
  rm -f "$displayfile" "$errors"
}

start_display() {
  start_server || return 1
  DISPLAY=$server_display
  export DISPLAY QT_QPA_PLATFORM=xcb
}
