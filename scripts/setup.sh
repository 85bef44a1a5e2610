#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need; does nothing when they
# are all present, so it is safe to call before every build.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6printsupport6 libqt6widgets6 qt6-qpa-plugins
  qt6-translations-l10n qt6-pdf-dev
  firebird-dev libfbclient2 firebird3.0-server-core firebird3.0-utils firebird3.0-server
  libgtest-dev libbenchmark-dev
  fonts-dejavu-core xdg-utils xvfb
  poppler-utils
  dpkg-dev lintian man-db
  librsvg2-bin
  desktop-file-utils libxml2-utils shared-mime-info
  appstream
  python3 python3-icalendar
  libcurl4-openssl-dev libsecret-1-dev
  python3-aiosmtpd openssl gnome-keyring dbus
)
# clang and its sanitizer runtimes, for the fuzz targets (scripts/fuzz.sh) and the sanitized
# test run (scripts/test-sanitize.sh); ZF_SETUP_FUZZ is the older name of the same request.
if [ "${ZF_SETUP_CLANG:-0}" = 1 ] || [ "${ZF_SETUP_FUZZ:-0}" = 1 ]; then
  packages+=(clang libclang-rt-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" != 0 ]; then sudo_cmd=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
