#!/usr/bin/env bash
# Installs the build into a fresh prefix and starts the installed program: it
# carries no library search path, and its splash and its calculator must show
# their pictures, read from the installed data folder, even where the prefix
# holds empty folders named resources where a program might look first.
#   installed_pictures.sh <cmake> <build folder> <prefix> <program name> <pictures folder>
set -euo pipefail
cmake=$1
build=$2
prefix=$3
name=$4
pictures=$5
source "$(dirname "$0")/../../scripts/display.sh"

fail() {
  echo "installed: $*" >&2
  exit 1
}
source "$(dirname "$0")/tools.sh"

rm -rf "$prefix"
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
app="$prefix/bin/$name"
[ -x "$app" ] || fail "no program at $app"
mkdir "$prefix/resources" "$prefix/bin/resources"

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

# A picture shown in window $1 at $2 (WxH+X+Y of the client area, below a
# menu bar of $3 pixels) is the region $4 of the picture file $5.
shows() {
  local size=${2%%+*} at=${2#*+}
  "$IMPORT" -window "$1" -crop "$size+${at%%+*}+$((${at#*+} + $3))" +repage "$shot" 2>/dev/null &&
    same_image -fuzz 2% "$shot" "$5[$4]"
}

# The splash is the first window, and shows the about picture whole
# at (33, 74).
about=$pictures/KS350.png
banner=$pictures/KS550.png
size=$("$IDENTIFY" -format '%wx%h' "$about")
shot="$prefix/shot.png"
shown=false
compared="no screenshot of the splash"
for _ in $(seq 60); do
  if splash=$("$XDOTOOL" search --onlyvisible --class '^Kestrova$' 2>/dev/null | head -n1) &&
    [ -n "$splash" ] && shows "$splash" "$size+33+74" 0 "$size+0+0" "$about"; then
    shown=true
    break
  fi
  sleep 0.05
done
[ "$shown" = true ] || fail "the splash does not show KS350.png (compare: $compared)"

# A click gives way to the calculator, whose banner at (104, 0) shows
# KS550.png; its lowest 20 rows carry the credit line, so the 60 above are
# compared.
"$XDOTOOL" mousemove --window "$splash" 10 10 click 1
shown=false
compared="no calculator window"
for _ in $(seq 60); do
  if calculator=$("$XDOTOOL" search --onlyvisible --name '^Kestrova$' 2>/dev/null | head -n1) &&
    [ -n "$calculator" ] &&
    eval "$("$XDOTOOL" getwindowgeometry --shell "$calculator")" &&
    shows "$calculator" 672x60+104+0 $((HEIGHT - 700)) 672x60+0+0 "$banner"; then
    shown=true
    break
  fi
  sleep 0.05
done
[ "$shown" = true ] || fail "the calculator does not show KS550.png (compare: $compared)"
echo "installed: $app shows both its pictures from $prefix"
