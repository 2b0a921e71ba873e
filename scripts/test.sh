#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds Kestrova and runs every test.
#   scripts/test.sh            the normal build, in build/
#   scripts/test.sh --asan     with AddressSanitizer and UndefinedBehaviorSanitizer, in build-asan/
# KESTROVA_WERROR=ON makes compiler warnings errors (CI sets it). It is passed
# on every run, so a value cached in the build folder does not linger.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

dir=build
options=(-DCMAKE_BUILD_TYPE=Debug)
if [ "${1:-}" = "--asan" ]; then
  dir=build-asan
  options=(-DCMAKE_BUILD_TYPE=Debug -DKESTROVA_SANITIZE=ON -DKESTROVA_BENCH=OFF)
fi
options+=(-DKESTROVA_WERROR="${KESTROVA_WERROR:-OFF}")
cmake -S . -B "$dir" -G Ninja "${options[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)"
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
# The end-to-end run's screenshots, kept as artefacts.
for shot in "$dir"/e2e-artifacts/*.png; do
  if [ -e "$shot" ]; then echo "end-to-end screenshot: $PWD/$shot"; fi
done
