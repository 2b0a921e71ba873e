#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds Kestrova and runs every test.
#   scripts/test.sh            the normal build, with GCC, in build/
#   scripts/test.sh --asan     with AddressSanitizer and UndefinedBehaviorSanitizer, in build-asan/
#   scripts/test.sh --clang    with clang, in build-clang/
# KESTROVA_WERROR=ON makes compiler warnings errors, and KESTROVA_BENCH=ON
# builds the benchmarks and the picture tool too, so that they keep compiling
# (CI sets both). They are passed on every run, so a value cached in the build
# folder does not linger.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

# The test programs (a clipboard manager of their own among them, on libxcb),
# the virtual display and what drives it, and a locale that writes decimals
# with a comma.
kestrova_install "${KESTROVA_BUILD_PACKAGES[@]}" libgtest-dev libxcb1-dev \
  xvfb xdotool x11-utils imagemagick xclip
kestrova_install_locale de_DE.UTF-8

dir=build
options=(-DCMAKE_BUILD_TYPE=Debug)
case "${1:-}" in
  --asan)
    dir=build-asan
    options+=(-DKESTROVA_SANITIZE=ON)
    ;;
  --clang)
    kestrova_install clang
    dir=build-clang
    options+=(-DCMAKE_CXX_COMPILER=clang++)
    ;;
  "") ;;
  *)
    echo "usage: scripts/test.sh [--asan | --clang]" >&2
    exit 2
    ;;
esac
# Every test must be registered: a missing tool stops the configure.
options+=(-DKESTROVA_REQUIRE_ALL_TESTS=ON)
options+=(-DKESTROVA_WERROR="${KESTROVA_WERROR:-OFF}" -DKESTROVA_BENCH="${KESTROVA_BENCH:-OFF}")
if [ "${KESTROVA_BENCH:-OFF}" = ON ]; then kestrova_install "${KESTROVA_BENCH_PACKAGES[@]}"; fi
cmake -S . -B "$dir" -G Ninja "${options[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)"
# The picture tool is left out of the default build.
if [ "${KESTROVA_BENCH:-OFF}" = ON ]; then cmake --build "$dir" --target kestrova_make_pictures; fi
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
# The end-to-end run's screenshots, kept as artefacts.
for shot in "$dir"/e2e-artifacts/*.png; do
  if [ -e "$shot" ]; then echo "end-to-end screenshot: $PWD/$shot"; fi
done
