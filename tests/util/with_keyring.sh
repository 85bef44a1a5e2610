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
export ZF_TEST_KEYRING=1
"$@"
