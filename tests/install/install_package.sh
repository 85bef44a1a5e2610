#!/usr/bin/env bash
# The Debian package, built once: its dependencies, its contents, its documents, lintian's
# verdict, and the installed program, archiving tool and plan editor started from a throw-away
# root far enough to show their windows.
set -uo pipefail
build=$1
probe=$2
plan_fixture=$3
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
need dpkg-shlibdeps

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
deb=$(ZF_BUILD_DIR=$build "$here/../../scripts/package.sh" --no-build "$tmp/pkg" | tail -1)
[ -f "$deb" ] || { fail "scripts/package.sh made no package"; finish; }

# Dependencies: what the program needs at run time, never a build tool.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
names=$(tr ',|' '\n\n' <<<"$depends" | sed 's/(.*)//; s/[[:space:]]//g' | sort -u)
for p in libqt6widgets6 libqt6printsupport6 libfbclient2 firebird3.0-server-core firebird3.0-utils \
         qt6-translations-l10n; do
  grep -qx "$p" <<<"$names" || fail "the package does not depend on $p"
done
while read -r p; do
  case $p in
    *-dev|cmake|g++*|gcc|gcc-*|make|pkg-config|libgtest*|libbenchmark*|librsvg2-bin|desktop-file-utils|appstream|dpkg-dev)
      fail "the package depends on the build tool $p" ;;
  esac
done <<<"$names"

# Contents: only the program folder and the desktop files; no maintainer scripts, so removing
# the package cannot touch the data folders or the databases.
dpkg-deb -c "$deb" | awk '{ print $6 }' >"$tmp/contents"
if grep -v -e '^\./opt/$' -e '^\./opt/zefirant/' -e '^\./usr/' "$tmp/contents" | grep .; then
  fail "the package installs outside /opt/zefirant and /usr"
fi
for f in ./opt/zefirant/zefirant-plan ./usr/bin/zefirant-plan \
         ./usr/share/applications/zefirant-plan.desktop ./usr/share/mime/packages/zefirant-plan.xml; do
  grep -qx "$f" "$tmp/contents" || fail "the package lacks $f"
done
# The documents: copyright in Debian's machine-readable format, the changelog of this version,
# and the template format for an office that edits its printouts.
doc=./usr/share/doc/zefirant
for f in "$doc/copyright" "$doc/changelog.gz" "$doc/szablony-raportow.md"; do
  grep -qx "$f" "$tmp/contents" || fail "the package lacks $f"
done
mkdir "$tmp/x"
dpkg -x "$deb" "$tmp/x"
head -1 "$tmp/x/$doc/copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
  || fail "the copyright file is not in the machine-readable format"
version=$(dpkg-deb -f "$deb" Version)
zcat "$tmp/x/$doc/changelog.gz" >"$tmp/changelog" || fail "changelog.gz is no gzip file"
[ "$(dpkg-parsechangelog -l "$tmp/changelog" -S Version 2>&1)" = "$version" ] \
  || fail "the changelog's newest entry is not version $version"
cmp -s "$tmp/x/$doc/szablony-raportow.md" "$here/../../reports/templates/README.md" \
  || fail "the installed template format is not reports/templates/README.md"

# Lintian: no errors, and the only tag overridden is dir-or-file-in-opt, with its reason.
if command -v lintian >/dev/null; then
  lintian --fail-on error --tag-display-limit 0 "$deb" >"$tmp/lintian.out" 2>&1
  rc=$?
  cat "$tmp/lintian.out"
  [ "$rc" = 0 ] || fail "lintian reports errors (status $rc)"
  grep -q '^E: ' "$tmp/lintian.out" && fail "lintian reports errors"
  # Shown, an overridden tag counts for --fail-on: this run only lists the overrides.
  lintian --show-overrides --tag-display-limit 0 "$deb" >"$tmp/lintian.out" 2>&1
  grep -q '^O: zefirant: dir-or-file-in-opt' "$tmp/lintian.out" \
    || fail "the override of dir-or-file-in-opt is not used"
  overrides=$tmp/x/usr/share/lintian/overrides/zefirant
  [ -f "$overrides" ] || fail "the package has no lintian overrides"
  grep -v -e '^#' -e '^[[:space:]]*$' "$overrides" | grep -v '^zefirant: dir-or-file-in-opt$' \
    && fail "lintian overrides other tags"
  grep -q '^#.*/opt' "$overrides" || fail "the override gives no reason"
else
  fail "lintian is not installed (scripts/setup.sh installs it)"
fi

mkdir "$tmp/control"
dpkg-deb -e "$deb" "$tmp/control"
for script in preinst postinst prerm postrm; do
  [ ! -e "$tmp/control/$script" ] || fail "the package has a $script script"
done

# The installed program, in a root of its own, with private data and runtime folders.
root=$tmp/root
dpkg -x "$deb" "$root"
# The commands are absolute links into /opt; inside the throw-away root they point into it.
for command in zefirant zefirant-plan; do
  target=$(readlink "$root/usr/bin/$command")
  [ "$target" = "/opt/zefirant/$command" ] || fail "usr/bin/$command points to $target"
  ln -sfn "$root$target" "$root/usr/bin/$command"
done
mkdir -p "$tmp/home" "$tmp/data" "$tmp/config" "$tmp/run"
chmod 700 "$tmp/run"
run_probed() { # window class, program, arguments...
  local until=$1
  shift
  # The limit only ends a program stuck in another window; it is no measure of speed.
  timeout 120 env HOME="$tmp/home" XDG_DATA_HOME="$tmp/data" XDG_CONFIG_HOME="$tmp/config" \
    XDG_CONFIG_DIRS="$tmp/no-installer" XDG_RUNTIME_DIR="$tmp/run" QT_QPA_PLATFORM=offscreen \
    ZF_PROBE_UNTIL="$until" LD_PRELOAD="$probe" "$@" </dev/null
}

# A first start without settings opens the database window; the command on the PATH is used,
# so the program must find its folder through the link.
run_probed zf::TfManageDB "$root/usr/bin/zefirant" >"$tmp/program.out" 2>&1
rc=$?
cat "$tmp/program.out"
grep -q '^shown zf::TfManageDB ' "$tmp/program.out" || fail "the program did not show its database window (status $rc)"
# The shipped tips come from data/ beside the program into the user's data folder.
cmp -s "$root/opt/zefirant/data/porady.dat" "$tmp/data/Orvantis/Zefirant/porady.dat" \
  || fail "the program did not take porady.dat from its own data/ folder"

run_probed zf::archive::TfArchiwizacja "$root/opt/zefirant/archiwizacja/archiwizacja" ZF >"$tmp/archive.out" 2>&1
rc=$?
cat "$tmp/archive.out"
grep -q '^shown zf::archive::TfArchiwizacja Archiwizacja bazy danych' "$tmp/archive.out" \
  || fail "the archiving tool did not show its window (status $rc)"
# The plan editor, from the command on the PATH, with a plan file as the office writes it: the
# window of the plan's year appears (the plan has no password) and the file is only read.
"$plan_fixture" "$tmp/plan.zfpn" || fail "no plan file to open"
cp "$tmp/plan.zfpn" "$tmp/plan.orig"
run_probed zf::TfPlaner "$root/usr/bin/zefirant-plan" "$tmp/plan.zfpn" >"$tmp/plan.out" 2>&1
rc=$?
cat "$tmp/plan.out"
grep -q '^shown zf::TfPlaner Mój plan urlopowy na rok 2027$' "$tmp/plan.out" \
  || fail "the plan editor did not show the plan of 2027 (status $rc)"
cmp -s "$tmp/plan.zfpn" "$tmp/plan.orig" || fail "opening the plan changed its file"
finish
