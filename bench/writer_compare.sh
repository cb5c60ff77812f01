#!/usr/bin/env bash
# The ILBM encoders beside netpbm at its best settings, on photographs:
#   bench/writer_compare.sh BUILD_DIR [photo.jpg ...]
# Default photographs: the twelve of Debian's mate-backgrounds (nature/,
# GPL-2+; apt-get install mate-backgrounds). Each is scaled to fill and cut
# to 320 x 256 (palette of 32, Extra-Half-Brite, HAM6) and 640 x 512 (HAM8),
# encoded without dithering, and scored against that source: PSNR of the RGB
# pixels under both ways decoders widen a HAM modify value (repeating its
# bits as ffmpeg and an OCS machine do; keeping the left pixel's low bits as
# ilbmtoppm and AGA do), SSIM (ffmpeg's, over R, G and B) under the rule the
# mode is scored by (HAM6 repeat, HAM8 keep), and seconds per picture, wall
# clock and processor (all threads; the fairer figure on a busy machine).
# BUILD_DIR is best a release build without bounds assertions.
# Baselines: pnmcolormap -meanpixel 32 + pnmremap; for EHB the same 32
# colours, their halves added, every pixel the nearest of the 64;
# ppmtoilbm -ham6 -hammap rgb4 and -ham8 -hammap rgb5.
set -euo pipefail
build=${1:?usage: writer_compare.sh BUILD_DIR [photo ...]}
shift
photos=("$@")
[ ${#photos[@]} -gt 0 ] || photos=(/usr/share/backgrounds/mate/nature/*.jpg)
encoder=$build/planora_encode_ppm
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Scaled to fill width x height, the middle cut out.
prepare() {
  local photo=$1 width=$2 height=$3 out=$4
  jpegtopnm "$photo" 2>/dev/null | pamscale -xyfill "$width" "$height" >"$work/scaled.ppm"
  read -r w h < <(pamfile "$work/scaled.ppm" | sed -E 's/.* ([0-9]+) by ([0-9]+).*/\1 \2/')
  pamcut -left $(((w - width) / 2)) -top $(((h - height) / 2)) -width "$width" -height "$height" \
    "$work/scaled.ppm" >"$out"
}

psnr() { ffmpeg -v info -nostats -i "$1" -i "$2" -lavfi psnr -f null - 2>&1 | sed -n 's/.*average:\([0-9.inf]*\).*/\1/p'; }
ssim() { ffmpeg -v info -nostats -i "$1" -i "$2" -lavfi ssim -f null - 2>&1 | sed -n 's/.*All:\([0-9.]*\).*/\1/p'; }
# Wall and processor seconds of a shell command, its output thrown away.
timed() { local TIMEFORMAT='%R %U'; { time bash -c "$1" >/dev/null 2>&1; } 2>&1; }

# One result line: mode tool photo psnr-repeat psnr-keep ssim wall processor
score() {
  local mode=$1 tool=$2 photo=$3 source=$4 repeat=$5 keep=$6 time=$7
  local scored=$repeat
  [ "$mode" = ham8 ] && scored=$keep
  echo "$mode $tool $photo $(psnr "$source" "$repeat") $(psnr "$source" "$keep") $(ssim "$source" "$scored") $time"
}

for photo in "${photos[@]}"; do
  name=$(basename "${photo%.*}")
  small=$work/$name-small.ppm large=$work/$name-large.ppm
  prepare "$photo" 320 256 "$small"
  prepare "$photo" 640 512 "$large"
  for mode in palette ehb ham6 ham8; do
    source=$small
    [ "$mode" = ham8 ] && source=$large
    out=$work/$name-$mode
    time=$("$encoder" "$mode" "$source" "$out" 32 none)
    if [ "$mode" = palette ] || [ "$mode" = ehb ]; then
      score "$mode" planora "$name" "$source" "$out.ppm" "$out.ppm" "$time"
    else
      score "$mode" planora "$name" "$source" "$out-repeat.ppm" "$out-keep.ppm" "$time"
    fi
    case $mode in
      palette)
        time=$(timed "pnmcolormap -meanpixel 32 '$source' >'$work/map.ppm' &&
                      pnmremap -mapfile='$work/map.ppm' -nofloyd '$source' >'$out-netpbm.ppm'")
        score "$mode" netpbm "$name" "$source" "$out-netpbm.ppm" "$out-netpbm.ppm" "$time" ;;
      ehb)
        time=$(timed "pnmcolormap -meanpixel 32 '$source' >'$work/map.ppm' &&
                      pamfunc -shiftright=1 '$work/map.ppm' >'$work/halves.ppm' &&
                      pnmcat -lr '$work/map.ppm' '$work/halves.ppm' >'$work/map64.ppm' &&
                      pnmremap -mapfile='$work/map64.ppm' -nofloyd '$source' >'$out-netpbm.ppm'")
        score "$mode" netpbm "$name" "$source" "$out-netpbm.ppm" "$out-netpbm.ppm" "$time" ;;
      ham6|ham8)
        map=rgb4
        [ "$mode" = ham8 ] && map=rgb5
        time=$(timed "ppmtoilbm -$mode -hammap $map '$source' >'$out-netpbm.iff'")
        ilbmtoppm "$out-netpbm.iff" >"$out-netpbm-keep.ppm" 2>/dev/null
        ffmpeg -v error -y -i "$out-netpbm.iff" -frames:v 1 "$out-netpbm-repeat.ppm"
        score "$mode" netpbm "$name" "$source" "$out-netpbm-repeat.ppm" "$out-netpbm-keep.ppm" "$time" ;;
    esac
  done
done | tee "$work/results.txt" >&2

echo
echo "| mode | tool | PSNR repeat (dB) | PSNR keep (dB) | SSIM | s / picture, wall | processor | pictures |"
echo "|---|---|---|---|---|---|---|---|"
awk '{ k = $1 " | " $2; n[k]++; r[k] += $4; p[k] += $5; s[k] += $6; t[k] += $7; u[k] += $8 }
     END { for (k in n) printf "| %s | %.2f | %.2f | %.4f | %.3f | %.3f | %d |\n", k, r[k] / n[k], p[k] / n[k],
                                s[k] / n[k], t[k] / n[k], u[k] / n[k], n[k] }' \
  "$work/results.txt" | sort
