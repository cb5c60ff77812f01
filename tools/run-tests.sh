#!/usr/bin/env bash
# Builds Planora with the standard library's bounds assertions and runs every
# test through CTest, then builds and runs the whole suite again with
# AddressSanitizer and UndefinedBehaviorSanitizer (build-asan), which halt on
# the first report.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLANORA_CHECKED_ACCESS=ON >/dev/null
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLANORA_SANITIZE=ON -DPLANORA_BUILD_BENCH=OFF \
  -DPLANORA_BUILD_GUI=ON >/dev/null
cmake --build build-asan -j"$(nproc)"
ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
