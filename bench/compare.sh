#!/usr/bin/env bash
# Side-by-side whole-process comparison of planora-convert with the peer
# decoders (netpbm's ilbmtoppm, ffmpeg) on large pictures made by ppmtoilbm.
# Prints wall time (median of RUNS) and peak memory for each tool and file.
#
#   bench/compare.sh [SIDE] [RUNS]     (defaults 4096 and 5)
#
# With BEFORE=path/to/planora-convert (an older build) every planora-convert
# row is measured for that build too, in the same run, as "before".
set -euo pipefail
side="${1:-4096}"
runs="${2:-5}"
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cmake -S "$root" -B "$root/build-release" -DCMAKE_BUILD_TYPE=Release -DPLANORA_BUILD_GUI=OFF \
  -DPLANORA_BUILD_TESTS=OFF -DPLANORA_BUILD_BENCH=OFF >/dev/null
cmake --build "$root/build-release" -j"$(nproc)" --target planora-convert >/dev/null
convert_bin="$root/build-release/planora-convert"
before_bin="${BEFORE:-}"

# Test pictures: ffmpeg's Mandelbrot source, quantised for the palette one.
ffmpeg -loglevel error -f lavfi -i "mandelbrot=s=${side}x${side}" -frames:v 1 -y "$work/source.ppm"
pnmquant 256 "$work/source.ppm" 2>/dev/null > "$work/q256.ppm"
ppmtoilbm -maxplanes 8 -compress "$work/q256.ppm" 2>/dev/null > "$work/planes8.iff"
ppmtoilbm -ham8 -compress "$work/source.ppm" 2>/dev/null > "$work/ham8.iff"
ppmtoilbm -ham6 -compress "$work/source.ppm" 2>/dev/null > "$work/ham6.iff"
# Extra-Half-Brite: a 6-plane picture with the EHB bit in a CAMG chunk added
# after the BMHD (ppmtoilbm does not write EHB itself).
pnmquant 64 "$work/source.ppm" 2>/dev/null > "$work/q64.ppm"
ppmtoilbm -maxplanes 6 -fixplanes 6 -compress "$work/q64.ppm" 2>/dev/null > "$work/six.iff"
python3 - "$work/six.iff" "$work/ehb6.iff" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
bmhd_end = 12 + 8 + struct.unpack('>I', data[16:20])[0]
camg = b'CAMG' + struct.pack('>II', 4, 0x80)
body = data[12:bmhd_end] + camg + data[bmhd_end:]
open(sys.argv[2], 'wb').write(b'FORM' + struct.pack('>I', 4 + len(body)) + b'ILBM' + body)
PY

# Median wall seconds and peak KiB of one command over $runs runs; the
# command's standard output goes to the file named first. Every run writes new
# output files, as a batch conversion does, and starts with no dirty pages
# left by the run before (sync, outside the timing). Replacing an existing
# file would not be measured alike: on ext4 the kernel starts writing the new
# data out when a file is renamed over another (auto_da_alloc), which the
# converter's rename pays inside the timing, while a truncating shell
# redirection pays it at the last close, after /usr/bin/time has reported.
measure() {
  local stdout_file="$1" times=() peak=0
  shift
  for _ in $(seq "$runs"); do
    rm -f "$work"/out*
    sync
    local start=$EPOCHREALTIME
    /usr/bin/time -f "%M" -o "$work/time.txt" "$@" >"$stdout_file" 2>/dev/null
    local end=$EPOCHREALTIME
    times+=("$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f", b - a }')")
    read -r kib < "$work/time.txt"
    (( kib > peak )) && peak=$kib
  done
  local median
  median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
  echo "$median $peak"
}

printf '%-12s %-22s %10s %10s %8s\n' file tool "wall (s)" "peak MiB" ratio
for name in planes8 ham8 ehb6 ham6; do
  file="$work/$name.iff"
  read -r ours ours_kib < <(measure /dev/null "$convert_bin" -o "$work/out.bmp" "$file")
  read -r netpbm netpbm_kib < <(measure "$work/out.ppm" ilbmtoppm "$file")
  read -r ff ff_kib < <(measure /dev/null ffmpeg -loglevel error -y -i "$file" -pix_fmt bgra "$work/out-ff.bmp")
  rows=("planora-convert $ours $ours_kib" "ilbmtoppm $netpbm $netpbm_kib" "ffmpeg $ff $ff_kib")
  if [ -n "$before_bin" ]; then
    read -r old old_kib < <(measure /dev/null "$before_bin" -o "$work/out.bmp" "$file")
    rows+=("before $old $old_kib")
  fi
  for row in "${rows[@]}"; do
    read -r tool wall kib <<<"$row"
    ratio=$(awk -v a="$wall" -v b="$ours" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }')
    printf '%-12s %-22s %10s %10d %8s\n' "$name" "$tool" "$wall" $(( kib / 1024 )) "$ratio"
  done
done
echo "ratio: the tool's wall time divided by planora-convert's (above 1: planora is faster)"

# Batch: 1,000 pictures of 320 x 256 in one converter call, against 1,000
# calls of ilbmtoppm.
mkdir -p "$work/batch" "$work/batch-out"
pnmscale -xsize 320 -ysize 256 "$work/q256.ppm" 2>/dev/null | pnmquant 32 2>/dev/null > "$work/small.ppm"
ppmtoilbm -maxplanes 5 -compress "$work/small.ppm" 2>/dev/null > "$work/batch/p0000.iff"
for i in $(seq 1 999); do cp "$work/batch/p0000.iff" "$work/batch/p$(printf %04d "$i").iff"; done
start=$(date +%s.%N)
"$convert_bin" --force -o "$work/batch-out" "$work/batch/"*.iff
ours_batch=$(awk -v a="$(date +%s.%N)" -v b="$start" 'BEGIN { print a - b }')
start=$(date +%s.%N)
for f in "$work/batch/"*.iff; do ilbmtoppm "$f" > "$work/batch-out/one.ppm" 2>/dev/null; done
netpbm_batch=$(awk -v a="$(date +%s.%N)" -v b="$start" 'BEGIN { print a - b }')
read -r big_wall _ < <(measure /dev/null "$convert_bin" -o "$work/out.bmp" "$work/planes8.iff")
printf '\nbatch of 1000 x 320x256: planora-convert %.2f s, 1000 x ilbmtoppm %.2f s (ratio %.1f)\n' \
  "$ours_batch" "$netpbm_batch" "$(awk -v a="$netpbm_batch" -v b="$ours_batch" 'BEGIN { print a / b }')"
printf 'per megapixel: batch %.4f s, one %sx%s picture %.4f s\n' \
  "$(awk -v t="$ours_batch" 'BEGIN { print t / (1000 * 320 * 256 / 1e6) }')" "$side" "$side" \
  "$(awk -v t="$big_wall" -v s="$side" 'BEGIN { print t / (s * s / 1e6) }')"


# Thumbnails (the file managers' --thumbnail 256) of the large pictures,
# against ilbmtoppm | pamscale to the same size; -linear averages areas the
# way the thumbnailer does, pamscale's default mixes light instead.
echo
for name in planes8 ham8; do
  file="$work/$name.iff"
  read -r ours ours_kib < <(measure /dev/null "$convert_bin" --thumbnail 256 "$file" "$work/out-thumb.png")
  # (time sees the shell, not the pipeline's peak memory)
  read -r peer _ < <(measure "$work/out.ppm" bash -c "ilbmtoppm '$file' 2>/dev/null | pamscale -linear -xyfit 256 256")
  printf 'thumbnail 256 of %s: planora-convert %s s %d MiB, ilbmtoppm | pamscale %s s (ratio %s)\n' \
    "$name" "$ours" $(( ours_kib / 1024 )) "$peer" \
    "$(awk -v a="$peer" -v b="$ours" 'BEGIN { printf "%.1f", a / b }')"
  if [ -n "$before_bin" ]; then
    read -r old old_kib < <(measure /dev/null "$before_bin" --thumbnail 256 "$file" "$work/out-thumb.png")
    printf 'thumbnail 256 of %s: before %s s %d MiB\n' "$name" "$old" $(( old_kib / 1024 ))
  fi
done

# The batch of 1,000 pictures on one thread and on two: the outputs must be
# byte for byte the same.
for bin in "$convert_bin" $before_bin; do
  label=$([ "$bin" = "$convert_bin" ] && echo "" || echo " (before)")
  for format in bmp png; do
    for jobs in 1 2; do
      rm -rf "$work/jobs$jobs"; mkdir "$work/jobs$jobs"
      sync
      start=$EPOCHREALTIME
      "$bin" --format "$format" --jobs "$jobs" -o "$work/jobs$jobs" "$work/batch/"*.iff
      end=$EPOCHREALTIME
      declare "wall$jobs=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')"
    done
    diff -r "$work/jobs1" "$work/jobs2" >/dev/null || { echo "--jobs 2 wrote other $format files than --jobs 1"; exit 1; }
    printf 'batch of 1000 to %s%s: --jobs 1 %s s, --jobs 2 %s s (speed-up %s), outputs identical\n' "$format" \
      "$label" "$wall1" "$wall2" "$(awk -v a="$wall1" -v b="$wall2" 'BEGIN { printf "%.2f", a / b }')"
  done
done

# The desktop program, headless: its load to the shown preview against the
# converter's load and decode, on the same pictures.
cmake -S "$root" -B "$root/build-release-gui" -DCMAKE_BUILD_TYPE=Release -DPLANORA_BUILD_GUI=ON \
  -DPLANORA_BUILD_TESTS=OFF -DPLANORA_BUILD_BENCH=ON >/dev/null
cmake --build "$root/build-release-gui" -j"$(nproc)" --target planora_gui_bench >/dev/null
echo
PLANORA_BENCH_FILES="$work/planes8.iff:$work/ham8.iff" QT_QPA_PLATFORM=offscreen \
  "$root/build-release-gui/planora_gui_bench" --benchmark_filter='/(planes8|ham8)$' \
  --benchmark_repetitions="$runs" --benchmark_report_aggregates_only=true 2>/dev/null |
  awk '/_median/ { sub(/_median/, "", $1); ms[$1] = $2 }
       END {
         for (name in ms) if (name ~ /^ProgramLoad/) {
           file = substr(name, index(name, "/") + 1)
           printf "program load to preview, %s: %.1f ms against the converter'"'"'s load %.1f ms (ratio %.2f)\n",
                  file, ms[name], ms["ConverterLoad/" file], ms[name] / ms["ConverterLoad/" file]
         }
       }'

# IFF ANIM: every frame of two animations in tests/data decoded to an
# animated PNG and to numbered BMP files, against ffmpeg decoding every frame
# to nothing (ffmpeg -f null).
echo
printf '%-18s %-32s %10s %10s %8s\n' file tool "wall (s)" "peak MiB" ratio
for name in anim/ham6_cmaps color_balls; do
  file="$root/tests/data/$name.anim"
  read -r apng apng_kib < <(measure /dev/null "$convert_bin" --format apng -o "$work/out.png" "$file")
  read -r frames frames_kib < <(measure /dev/null "$convert_bin" --frames --format bmp -o "$work/out.bmp" "$file")
  read -r ff ff_kib < <(measure /dev/null ffmpeg -loglevel error -i "$file" -f null -)
  rows=("planora-convert_--format_apng $apng $apng_kib" "planora-convert_--frames_(bmp) $frames $frames_kib"
        "ffmpeg_-f_null $ff $ff_kib")
  if [ -n "$before_bin" ]; then
    read -r old old_kib < <(measure /dev/null "$before_bin" --format apng -o "$work/out.png" "$file")
    read -r oldf oldf_kib < <(measure /dev/null "$before_bin" --frames --format bmp -o "$work/out.bmp" "$file")
    rows+=("before_--format_apng $old $old_kib" "before_--frames_(bmp) $oldf $oldf_kib")
  fi
  for row in "${rows[@]}"; do
    read -r tool wall kib <<<"$row"
    ratio=$(awk -v a="$ff" -v b="$wall" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }')
    printf '%-18s %-32s %10s %10d %8s\n' "$name" "${tool//_/ }" "$wall" $(( kib / 1024 )) "$ratio"
  done
done
echo "ratio: ffmpeg's wall time divided by the tool's (above 1: faster than ffmpeg -f null)"

# IFF ANIM delta operations: 120 frames of 320 x 256, 5 planes, one
# animation per operation (tools/make_test_anims.py), every frame written as
# a numbered BMP file by planora-convert --frames, against ffmpeg decoding
# every frame to nothing and to BMP files. Frames per second of wall time.
python3 "$root/tools/make_test_anims.py" bench "$work/ops" 120
echo
printf '%-8s %12s %12s %12s\n' operation "planora bmp" "ffmpeg null" "ffmpeg bmp"
for kind in 3 5x J d e lv; do
  file="$work/ops/bench_$kind.anim"
  mkdir -p "$work/ops/out"
  read -r ours _ < <(measure /dev/null "$convert_bin" --frames --format bmp -o "$work/ops/out/f.bmp" "$file")
  read -r null _ < <(measure /dev/null ffmpeg -loglevel error -i "$file" -f null -)
  read -r ffbmp _ < <(measure /dev/null ffmpeg -loglevel error -i "$file" -vsync passthrough "$work/out%03d.bmp")
  printf '%-8s %12.0f %12.0f %12.0f\n' "$kind" "$(awk -v t="$ours" 'BEGIN { print 120 / t }')" \
    "$(awk -v t="$null" 'BEGIN { print 120 / t }')" "$(awk -v t="$ffbmp" 'BEGIN { print 120 / t }')"
done
echo "frames per second (120 frames over the median wall time of the whole process)"
