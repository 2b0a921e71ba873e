#!/usr/bin/env bash
# Sourced by the end-to-end scripts, after their fail function. The tools are
# called at the paths that CMake found (tests/e2e/CMakeLists.txt passes them in
# the environment); a script run by hand takes those on PATH.
: "${XDOTOOL:=xdotool}" "${XPROP:=xprop}" "${XWININFO:=xwininfo}" "${XCLIP:=xclip}"
: "${IMPORT:=import}" "${IDENTIFY:=identify}" "${COMPARE:=compare}" "${READELF:=readelf}"

# Whether two images (compare's arguments) are the same, by compare's exit
# status: 0 the same, 1 different. Anything else (an unreadable file, say)
# fails the test with compare's own message. What compare printed is left in
# compared, for a failure message.
same_image() {
  local status=0
  compared=$("$COMPARE" -metric AE "$@" null: 2>&1) || status=$?
  case $status in
    0) return 0 ;;
    1) return 1 ;;
    *) fail "compare failed (status $status): $compared" ;;
  esac
}
