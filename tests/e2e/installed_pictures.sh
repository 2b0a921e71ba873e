#!/usr/bin/env bash
# Installs the build into a fresh prefix and starts the installed program: it
# carries no library search path, and its splash must show the about picture,
# read from the installed data folder.
#   installed_pictures.sh <cmake> <build folder> <prefix> <about picture>
set -euo pipefail
cmake=$1
build=$2
prefix=$3
picture=$4
source "$(dirname "$0")/../../scripts/display.sh"

fail() {
  echo "installed: $*" >&2
  exit 1
}
source "$(dirname "$0")/tools.sh"

rm -rf "$prefix"
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
app="$prefix/bin/kestrova"
[ -x "$app" ] || fail "no program at $app"

# It ships no library of its own: nothing for a RUNPATH or RPATH to find.
dynamic=$("$READELF" -d "$app") || fail "readelf cannot read $app"
status=0
grep -E '\((RUNPATH|RPATH)\)' <<<"$dynamic" || status=$?
case $status in
  0) fail "$app carries a library search path (above)" ;;
  1) ;;
  *) fail "grep failed on the output of readelf -d $app" ;;
esac

start_display || fail "the virtual display did not start"

# Started from elsewhere, so that nothing is found beside the working folder.
(cd / && exec "$app") &
app_pid=$!

# The splash is the first window; its picture sits at (33, 74).
size=$("$IDENTIFY" -format '%wx%h' "$picture")
shot="$prefix/splash.png"
shown=false
compared="no screenshot of the splash"
for _ in $(seq 60); do
  if splash=$("$XDOTOOL" search --onlyvisible --class '^Kestrova$' 2>/dev/null | head -n1) &&
    [ -n "$splash" ] &&
    "$IMPORT" -window "$splash" -crop "$size+33+74" +repage "$shot" 2>/dev/null; then
    if same_image -fuzz 2% "$shot" "$picture"; then
      shown=true
      break
    fi
  fi
  sleep 0.05
done
[ "$shown" = true ] ||
  fail "the splash does not show $(basename "$picture") (compare: $compared)"
echo "installed: $app shows its pictures from $prefix"
