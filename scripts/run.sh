#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds Kestrova optimised and launches it.
# Release, in build-release/ like the benchmarks, so that it never touches the
# Debug builds of the tests in build/ and build-asan/. Only what the
# application needs is installed and built; a compiler warning never stops the
# launch.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
kestrova_install "${KESTROVA_BUILD_PACKAGES[@]}"
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DKESTROVA_BENCH=OFF -DKESTROVA_WERROR=OFF >/dev/null
cmake --build build-release -j"$(nproc)" --target kestrova
exec build-release/bin/kestrova
