#!/usr/bin/env bash
# Installs the build into a fresh prefix and starts the installed program: its
# splash must show the about picture, read from the installed data folder.
#   installed_pictures.sh <build folder> <prefix> <about picture>
set -euo pipefail
build=$1
prefix=$2
picture=$3
source "$(dirname "$0")/../../scripts/display.sh"

fail() {
  echo "installed: $*" >&2
  exit 1
}

rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
app="$prefix/bin/kestrova"
[ -x "$app" ] || fail "no program at $app"

start_display || fail "the virtual display did not start"

# Started from elsewhere, so that nothing is found beside the working folder.
(cd / && exec "$app") &
app_pid=$!

# The splash is the first window; its picture sits at (33, 74).
size=$(identify -format '%wx%h' "$picture")
shot="$prefix/splash.png"
differing=unknown
for _ in $(seq 60); do
  if splash=$(xdotool search --onlyvisible --class '^Kestrova$' 2>/dev/null | head -n1) &&
    [ -n "$splash" ] && import -window "$splash" -crop "$size+33+74" +repage "$shot" 2>/dev/null; then
    differing=$(compare -metric AE -fuzz 2% "$shot" "$picture" null: 2>&1 || true)
    [ "$differing" = 0 ] && break
  fi
  sleep 0.05
done
[ "$differing" = 0 ] || fail "the splash does not show $(basename "$picture") ($differing pixels differ)"
echo "installed: $app shows its pictures from $prefix"
