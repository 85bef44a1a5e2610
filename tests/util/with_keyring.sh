#!/bin/sh
# Runs a test inside a private D-Bus session (started by the caller with dbus-run-session) with
# its own GNOME Keyring, unlocked with a password of the test's own and kept in a temporary
# home; the keyring ends with the session's bus.
set -eu
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/run"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
eval "$(printf 'zf-test' | gnome-keyring-daemon --daemonize --unlock --components=secrets)"
# The daemon takes its bus name and makes its login keyring (the default collection) after it
# has answered. Asking the secret service before the name is taken would start a second daemon
# through D-Bus activation, and storing before the collection exists would ask a prompter that
# cannot show: both are awaited, up to 10 s.
ready() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
      org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets 2>/dev/null |
    grep -q 'boolean true' &&
    dbus-send --session --print-reply --dest=org.freedesktop.secrets \
      /org/freedesktop/secrets/aliases/default org.freedesktop.DBus.Properties.Get \
      string:org.freedesktop.Secret.Collection string:Locked 2>/dev/null | grep -q 'boolean false'
}
tries=0
until ready; do
  tries=$((tries + 1))
  if [ "$tries" -gt 100 ]; then
    echo "the keyring's default collection did not appear" >&2
    exit 1
  fi
  sleep 0.1
done
export ZF_TEST_KEYRING=1
"$@"
