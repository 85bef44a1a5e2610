#!/usr/bin/env bash
# `cmake --install` into a staging root: the program folder as the build has it, the commands on
# the PATH, the menu entries, the plan files' type, icons and metainfo, and the validators'
# verdicts.
set -uo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
need desktop-file-validate
need appstreamcli
need xmllint
need update-mime-database
need man

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
root=$tmp/root
cmake --install "$build" --prefix "$root" >"$tmp/install.log" 2>&1 || { cat "$tmp/install.log"; fail "cmake --install failed"; finish; }
prog=$root/opt/zefirant

# The program folder holds every file of the build's bin/, at the same place.
(cd "$build/bin" && find . -type f | sort) >"$tmp/built"
(cd "$prog" && find . -type f | sort) >"$tmp/installed"
diff "$tmp/built" "$tmp/installed" >"$tmp/diff" || { fail "bin/ and the program folder differ:"; cat "$tmp/diff"; }
for f in zefirant zefirant-plan archiwizacja/archiwizacja; do
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
for f in "$prog/zefirant" "$prog/zefirant-plan" "$prog/archiwizacja/archiwizacja"; do
  if readelf -d "$f" | grep -E 'R(UN)?PATH' | grep -q "$build"; then fail "$f keeps a run path into the build"; fi
done

# The commands on the PATH reach the programs inside the same root.
for command in zefirant zefirant-plan; do
  [ -L "$root/usr/bin/$command" ] || fail "usr/bin/$command is not a link"
  [ "$(readlink -f "$root/usr/bin/$command")" = "$(readlink -f "$prog/$command")" ] \
    || fail "usr/bin/$command points elsewhere: $(readlink "$root/usr/bin/$command")"
done
# The plan editor stands alone: nothing of the database is linked into it.
if readelf -d "$prog/zefirant-plan" | grep -q 'fbclient'; then fail "zefirant-plan links the Firebird client"; fi

# Menu entry.
desktop=$root/usr/share/applications/zefirant.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the entry"
grep -qx 'Name=Zefirant PL+' "$desktop" || fail "the entry's name"
grep -q '^Comment=.*urlop' "$desktop" || fail "the entry's comment is not the Polish one"
grep -qx 'Categories=Office;' "$desktop" || fail "the entry's category"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -e "$root/usr/bin/$exec_name" ] || fail "Exec=$exec_name is not installed in usr/bin"
icon=$(sed -n 's/^Icon=//p' "$desktop")

# The plan editor's entry, opening the plan files' type, which shared-mime-info takes.
plan_desktop=$root/usr/share/applications/zefirant-plan.desktop
desktop-file-validate "$plan_desktop" || fail "desktop-file-validate rejects the plan editor's entry"
grep -qx 'Name=Mój plan urlopowy' "$plan_desktop" || fail "the plan editor's entry name"
grep -qx 'Exec=zefirant-plan %f' "$plan_desktop" || fail "the plan editor's entry does not pass the file"
grep -qx 'MimeType=application/x-zefirant-plan;' "$plan_desktop" || fail "the plan editor's entry MimeType"
[ "$(sed -n 's/^Icon=//p' "$plan_desktop")" = "$icon" ] || fail "the plan editor's entry has another icon"
mime=$root/usr/share/mime/packages/zefirant-plan.xml
if [ ! -f "$mime" ]; then
  fail "the plan files' type is not installed"
else
  xmllint --noout "$mime" || fail "xmllint rejects $mime"
  mime_type=$(xmllint --xpath "string(//*[local-name()='mime-type']/@type)" "$mime")
  glob=$(xmllint --xpath "string(//*[local-name()='mime-type']/*[local-name()='glob']/@pattern)" "$mime")
  [ "$mime_type" = application/x-zefirant-plan ] || fail "the type is '$mime_type'"
  [ "$glob" = '*.zfpn' ] || fail "the type's glob is '$glob'"
  # The database the desktop builds from it maps *.zfpn to the type.
  mkdir -p "$tmp/mime/packages"
  cp "$mime" "$tmp/mime/packages/"
  update-mime-database "$tmp/mime" >"$tmp/mime.log" 2>&1 || { cat "$tmp/mime.log"; fail "update-mime-database rejects the type"; }
  grep -q 'Warning\|Error' "$tmp/mime.log" && { cat "$tmp/mime.log"; fail "update-mime-database complains"; }
  grep -qx '[0-9]*:application/x-zefirant-plan:\*\.zfpn' "$tmp/mime/globs2" \
    || fail "*.zfpn is not mapped to application/x-zefirant-plan"
fi

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

# The manual pages of both commands, read by man without a warning and naming the command.
for command in zefirant zefirant-plan; do
  page=$root/usr/share/man/man1/$command.1.gz
  if [ ! -s "$page" ]; then
    fail "no manual page $command(1)"
    continue
  fi
  text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>"$tmp/man.err")
  [ -s "$tmp/man.err" ] && { cat "$tmp/man.err"; fail "man warns about $command(1)"; }
  grep -Eq "^ *$command +- " <<<"$text" || fail "$command(1) names no $command"
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
