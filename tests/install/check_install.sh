#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop user
# gets: programs, desktop entry, MIME type, icons, manual pages, completion.
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

[ -x "$prefix/bin/planora-convert" ] || fail "planora-convert not installed"
if grep -q '^PLANORA_BUILD_GUI:BOOL=ON' "$build/CMakeCache.txt"; then
  [ -x "$prefix/bin/planora" ] || fail "planora not installed"
fi
desktop="$prefix/share/applications/planora.desktop"
[ -f "$desktop" ] || fail "no desktop entry"
grep -qx 'Exec=planora %f' "$desktop" || fail "desktop entry does not pass the file"
grep -qx 'Categories=Graphics;Viewer;' "$desktop" || fail "desktop entry categories"
grep -qx 'MimeType=image/x-ilbm;image/x-iff-acbm;image/x-iff-rgbn;image/x-iff-rgb8;image/x-iff-deep;image/x-iff-imag;video/x-anim;' "$desktop" || fail "desktop entry MIME type"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate"
fi
for size in 16 32 48 64 128 256; do
  [ -f "$prefix/share/icons/hicolor/${size}x${size}/apps/planora.png" ] || fail "no ${size}px icon"
done
for page in planora planora-convert; do
  gzip -t "$prefix/share/man/man1/$page.1.gz" || fail "manual page $page"
done

# Our MIME file adds only the types the system lacks; image/x-ilbm is the
# system's own and must not be redefined.
if command -v update-mime-database >/dev/null; then
  update-mime-database "$prefix/share/mime" >/dev/null 2>&1 || fail "update-mime-database"
  ! grep -q 'image/x-ilbm' "$prefix/share/mime/types" || fail "image/x-ilbm redefined"
  for form in ACBM RGBN RGB8 DEEP IMAG; do
    grep -aq "$form" "$prefix/share/mime/magic" || fail "$form magic missing"
  done
fi
thumbnailer="$prefix/share/thumbnailers/planora.thumbnailer"
grep -qx 'Exec=planora-convert --thumbnail %s %i %o' "$thumbnailer" || fail "thumbnailer Exec line"

# Completion offers the formats after --format.
completion="$prefix/share/bash-completion/completions/planora-convert"
offered=$(bash -c "shopt -s extglob; source '$completion'; COMP_WORDS=(planora-convert --format p); COMP_CWORD=2; _planora_convert; echo \${COMPREPLY[*]}")
[ "$offered" = "png" ] || fail "completion after --format p gave '$offered'"
echo "install check passed"
