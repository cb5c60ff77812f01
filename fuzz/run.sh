#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for SECONDS seconds, one
# after the other in a single process, with the committed seeds, the kept
# regression inputs and the chunk dictionary. New corpus entries go to
# build-fuzz/corpus/<target>; crashes to build-fuzz/findings/<target>.
#   fuzz/run.sh SECONDS [TARGET...]     TARGET: load, byterun1, input, pixbuf, qt
#                                       (default: all five)
# The image loaders (pixbuf, qt) start from the load target's seeds and
# kept regression inputs.
set -euo pipefail
seconds=${1:?usage: fuzz/run.sh SECONDS [TARGET...]}
shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(load byterun1 input pixbuf qt)
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DPLANORA_FUZZ=ON -DPLANORA_BUILD_GUI=OFF \
  -DPLANORA_BUILD_TESTS=OFF -DPLANORA_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target "${targets[@]/#/planora_fuzz_}"

for t in "${targets[@]}"; do
  mkdir -p "$build/corpus/$t" "$build/findings/$t"
  inputs=$t
  [[ $t == pixbuf || $t == qt ]] && inputs=load
  echo "== $t: $seconds s"
  "$build/planora_fuzz_$t" -max_total_time="$seconds" -print_final_stats=1 \
    -dict="$root/fuzz/ilbm.dict" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$build/findings/$t/" \
    "$build/corpus/$t" "$root/fuzz/seeds/$inputs" "$root/fuzz/regressions/$inputs"
done
