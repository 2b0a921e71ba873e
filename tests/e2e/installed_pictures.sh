#!/usr/bin/env bash
# Installs the build into a fresh prefix and starts the installed program: it
# carries no library search path, and its splash and its calculator must show
# their pictures, read from the installed data folder, even where the prefix
# holds empty folders named resources where a program might look first.
#   installed_pictures.sh <cmake> <build folder> <prefix> <program name> <pictures folder>
#                         [<data folder> <source folder> <configure options>...]
# Given an absolute data folder, it first configures the source folder into the
# build folder to install into the prefix with that data folder and the usual
# relative bin folder, and builds the program alone there.
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
if [ $# -gt 5 ]; then
  data=$6
  rm -rf "$data"
  output=$("$cmake" -S "$7" -B "$build" "${@:8}" -DBUILD_TESTING=OFF \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_BINDIR=bin -DCMAKE_INSTALL_DATADIR="$data" 2>&1) ||
    fail "the configure with the data folder $data failed:"$'\n'"$output"
  output=$("$cmake" --build "$build" --target "$name" --parallel "${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}" 2>&1) ||
    fail "the build in $build failed:"$'\n'"$output"
fi
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

# Waits up to 3 s for a visible window, found by the xdotool search option
# $1 and pattern $2, whose client area (its lowest $3 pixels, below any menu
# bar) shows at $4 (WxH+X+Y) the region $5 of the picture file $6. What
# compare printed is left in compared, the window in window.
showing() {
  local size=${4%%+*} at=${4#*+}
  compared="no such window"
  for _ in $(seq 60); do
    if window=$("$XDOTOOL" search --onlyvisible "$1" "$2" 2>/dev/null | head -n1) &&
      [ -n "$window" ] && eval "$("$XDOTOOL" getwindowgeometry --shell "$window")" &&
      "$IMPORT" -window "$window" -crop "$size+${at%%+*}+$((${at#*+} + HEIGHT - $3))" +repage \
        "$shot" 2>/dev/null && same_image -fuzz 2% "$shot" "$6[$5]"; then
      return 0
    fi
    sleep 0.05
  done
  return 1
}

# The splash is the first window, 250 pixels high, and shows the about
# picture whole at (33, 74).
about=$pictures/KS350.png
size=$("$IDENTIFY" -format '%wx%h' "$about")
shot="$prefix/shot.png"
showing --class '^Kestrova$' 250 "$size+33+74" "$size+0+0" "$about" ||
  fail "the splash does not show KS350.png (compare: $compared)"

# A click gives way to the calculator, whose 700-pixel client area shows
# KS550.png at (104, 0); the lowest 20 rows of the banner carry the credit
# line, so the 60 above are compared.
"$XDOTOOL" mousemove --window "$window" 10 10 click 1
showing --name '^Kestrova$' 700 672x60+104+0 672x60+0+0 "$pictures/KS550.png" ||
  fail "the calculator does not show KS550.png (compare: $compared)"
echo "installed: $app shows both its pictures from $prefix"
