#!/usr/bin/env bash
# Which folder may include which: iff/ and decode/ are one layer at the
# bottom, the encoders (encode/) on them, output/ and the readers of other
# formats (input/) on those, and the programs
# (cli/, app/) and the image loaders (imageformats/, pixbuf/) on top. A folder never includes one
# above it; the loaders include neither program, and the programs not each
# other. Prints each include that breaks this and fails when there is one.
set -u
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
declare -A allowed=(
  [iff]="iff decode"
  [decode]="iff decode"
  [encode]="iff decode encode"
  [output]="iff decode encode output"
  [input]="iff decode encode input"
  [cli]="iff decode encode output input cli"
  [app]="iff decode encode output app"
  [imageformats]="iff decode output imageformats"
  [pixbuf]="iff decode output pixbuf"
)
bad=0
for folder in "${!allowed[@]}"; do
  [ -d "$root/$folder" ] || { echo "missing folder: $folder"; bad=1; continue; }
  while IFS=: read -r file line text; do
    # "folder/name.h" names a project folder; a bare "name.h" is a header beside the file.
    target=$(sed -n 's|^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^/"]*\)/.*|\1|p' <<<"$text")
    [ -n "$target" ] || continue
    [ -n "${allowed[$target]+known}" ] || continue
    case " ${allowed[$folder]} " in
      *" $target "*) ;;
      *) echo "${file#"$root"/}:$line includes $target/, above or beside $folder/"; bad=1 ;;
    esac
  done < <(grep -rn --include='*.h' --include='*.cpp' '#[[:space:]]*include' "$root/$folder")
done
[ "$bad" = 0 ] && echo "layers kept"
exit "$bad"
