#!/bin/sh
# Builds the picture tool and redraws resources/KS550.png and resources/KS350.png.
# Usage: tools/make-pictures.sh [build folder]   (default: <repo>/build-pictures)
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-pictures}

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DBUILD_TESTING=OFF
fi
cmake --build "$build" --target kestrova_make_pictures -j4
QT_QPA_PLATFORM=offscreen "$build/bin/kestrova_make_pictures" "$root/resources"
