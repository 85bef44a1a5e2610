#!/usr/bin/env bash
# `cmake --install` into a staging root: the program folder as the build has it, the command on
# the PATH, the menu entry, icons and metainfo, and the validators' verdicts.
set -uo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
need desktop-file-validate
need appstreamcli

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
root=$tmp/root
cmake --install "$build" --prefix "$root" >"$tmp/install.log" 2>&1 || { cat "$tmp/install.log"; fail "cmake --install failed"; finish; }
prog=$root/opt/zefirant

# The program folder holds every file of the build's bin/, at the same place.
(cd "$build/bin" && find . -type f | sort) >"$tmp/built"
(cd "$prog" && find . -type f | sort) >"$tmp/installed"
diff "$tmp/built" "$tmp/installed" >"$tmp/diff" || { fail "bin/ and the program folder differ:"; cat "$tmp/diff"; }
for f in zefirant archiwizacja/archiwizacja; do
  [ -x "$prog/$f" ] || fail "$f is not installed as a program"
done
for f in data/fb_crtdemodb.dat data/fb_update102.dat data/fb_update104.dat data/porady.dat \
         "dokumentacja/Instrukcja obslugi.pdf"; do
  [ -s "$prog/$f" ] || fail "$f is missing or empty"
done
[ -d "$prog/raporty" ] || fail "raporty/ is missing"
if find "$root" -name 'zf_*' -o -name 'test_*' -o -name 'bench_*' -o -name '*.cmake' | grep -q .; then
  fail "build tools or tests are installed"
fi
for f in "$prog/zefirant" "$prog/archiwizacja/archiwizacja"; do
  if readelf -d "$f" | grep -E 'R(UN)?PATH' | grep -q "$build"; then fail "$f keeps a run path into the build"; fi
done

# The command on the PATH reaches the program inside the same root.
[ -L "$root/usr/bin/zefirant" ] || fail "usr/bin/zefirant is not a link"
[ "$(readlink -f "$root/usr/bin/zefirant")" = "$(readlink -f "$prog/zefirant")" ] \
  || fail "usr/bin/zefirant points elsewhere: $(readlink "$root/usr/bin/zefirant")"

# Menu entry.
desktop=$root/usr/share/applications/zefirant.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the entry"
grep -qx 'Name=Zefirant PL+' "$desktop" || fail "the entry's name"
grep -q '^Comment=.*urlop' "$desktop" || fail "the entry's comment is not the Polish one"
grep -qx 'Categories=Office;' "$desktop" || fail "the entry's category"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -e "$root/usr/bin/$exec_name" ] || fail "Exec=$exec_name is not installed in usr/bin"
icon=$(sed -n 's/^Icon=//p' "$desktop")

# Icons of that name: the SVG and bitmaps of the size their folder says.
hicolor=$root/usr/share/icons/hicolor
[ -s "$hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon $icon.svg"
pngs=0
for png in "$hicolor"/*/apps/"$icon".png; do
  [ -f "$png" ] || continue
  pngs=$((pngs + 1))
  folder=$(basename "$(dirname "$(dirname "$png")")")
  [ "$(png_size "$png")" = "$folder" ] || fail "$folder/apps/$icon.png is $(png_size "$png")"
done
[ "$pngs" -ge 4 ] || fail "only $pngs bitmap icons"
for size in 48x48 256x256; do
  [ -f "$hicolor/$size/apps/$icon.png" ] || fail "no $size icon"
done

# AppStream: the file alone and together with the entry and icons it refers to.
metainfo=$(ls "$root"/usr/share/metainfo/*.metainfo.xml 2>/dev/null | head -1)
if [ -z "$metainfo" ]; then
  fail "no metainfo file"
else
  appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate rejects the metainfo"
  launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
  [ -f "$root/usr/share/applications/$launchable" ] || fail "the metainfo launches $launchable, which is not installed"
  appstreamcli validate-tree --no-net "$root" || fail "appstreamcli validate-tree rejects the install tree"
fi
finish
