#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them: the calculation, one
# Calculate press in an offscreen window, start-up beside a bare Qt window, and
# resident memory while the help window opens and closes 6,000 times.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
kestrova_install "${KESTROVA_BUILD_PACKAGES[@]}" "${KESTROVA_BENCH_PACKAGES[@]}"
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DKESTROVA_BENCH=ON >/dev/null
cmake --build build-release -j"$(nproc)"
for bench in build-release/bin/*_bench; do
  echo "== $(basename "$bench")"
  QT_QPA_PLATFORM=offscreen "$bench"
done
if [ -x build-release/bin/startup_timing ]; then
  echo "== startup_timing"
  bash bench/startup.sh build-release
fi
if [ -x build-release/bin/window_cycles ]; then
  echo "== window_memory"
  bash bench/window_memory.sh build-release
fi
