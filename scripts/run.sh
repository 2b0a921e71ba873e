#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds Kestrova and launches it.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build -j"$(nproc)" --target kestrova
exec build/bin/kestrova
