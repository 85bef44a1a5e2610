#!/usr/bin/env bash
# scripts/office-server.sh on a Firebird server of the test's own (a private root folder with a
# copy of the security database, its own port), never the machine's, whose SYSDBA password other
# programs use meanwhile: the printed location connects to a new database of the program's
# schema, a second run keeps it, a new SYSDBA password reaches the password file byte for byte,
# and a folder the server cannot write to is refused.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
script=$here/../../scripts/office-server.sh
# shellcheck source=../../scripts/firebird-server.sh
source "$here/../../scripts/firebird-server.sh"
[ "$(id -u)" = 0 ] || skip "the office server script needs root"
need isql-fb
pw_machine=/etc/firebird/3.0/SYSDBA.password
[ -r "$pw_machine" ] || skip "the SYSDBA password of the security database is not readable"
# The password the copy of the security database starts with.
password=$(sed -n 's/^ISC_PASSWORD="\{0,1\}\([^"]*\)"\{0,1\}$/\1/p' "$pw_machine")

tmp=$(mktemp -d)
trap 'fb_private_stop; rm -rf "$tmp"' EXIT
# The server's user must reach the folders below.
chmod 755 "$tmp"
fb_private_start "$tmp/server" || skip "no Firebird server of its own can be started here"
host=localhost/$fb_private_port
export ISC_USER=SYSDBA ISC_PASSWORD=$password
database=$tmp/biuro/zefirant.fdb

office_server() { "$script" --local-only --host localhost --port "$fb_private_port" "$@"; }
query() { # location, statements
  printf "CONNECT '%s';\n%s\n" "$1" "$2" >"$tmp/q.sql"
  isql-fb -q -i "$tmp/q.sql" 2>&1
}

office_server "$database" >"$tmp/first.out" 2>&1 || { cat "$tmp/first.out"; fail "the first run failed"; finish; }
cat "$tmp/first.out"
location=$(tail -1 "$tmp/first.out")
[ "$location" = "$host:$database" ] || fail "printed location '$location'"
grep -qF "$password" "$tmp/first.out" && fail "the SYSDBA password is printed"

folder=$(dirname "$database")
[ "$(stat -c %U "$folder")" = firebird ] || fail "the database folder belongs to $(stat -c %U "$folder")"
case $(stat -c %a "$folder") in *0) ;; *) fail "the database folder is open to everybody: $(stat -c %a "$folder")" ;; esac
case $(stat -c %a "$database") in *0) ;; *) fail "the database file is open to everybody: $(stat -c %a "$database")" ;; esac

# The program's schema, its two users and SQL dialect 1.
out=$(query "$location" "SELECT 'user:' || TRIM(LOGIN) FROM USERS ORDER BY LOGIN;
SELECT 'dialect:' || MON\$SQL_DIALECT FROM MON\$DATABASE;
SELECT 'charset:' || TRIM(RDB\$CHARACTER_SET_NAME) FROM RDB\$DATABASE;
CREATE TABLE ZF_KEEP (N INTEGER); COMMIT;")
grep -q 'user:admin' <<<"$out" && grep -q 'user:pracownik' <<<"$out" || fail "the program's users are not there: $out"
grep -q 'dialect:1' <<<"$out" || fail "not dialect 1: $out"
grep -q 'charset:WIN1250' <<<"$out" || fail "not WIN1250: $out"

# Run again, also setting the SYSDBA password (to the one it has): the database stays as it is.
printf '%s\n' "$password" | office_server --set-sysdba-password "$database" >"$tmp/second.out" 2>&1 \
  || { cat "$tmp/second.out"; fail "the second run failed"; }
[ "$(tail -1 "$tmp/second.out")" = "$location" ] || fail "the second run printed another location"
grep -qF "$password" "$tmp/second.out" && fail "the SYSDBA password is printed"
out=$(query "$location" "SELECT 'kept:' || COUNT(*) FROM ZF_KEEP;")
grep -q 'kept:0' <<<"$out" || fail "the existing database was replaced: $out"

# A password with backslashes goes into the password file as the server has it, not with the
# escapes read. The package's own file is left alone: a copy stands for it.
odd='a\nb\\c'
pw_copy=$tmp/SYSDBA.password
printf '# Password for firebird SYSDBA user\nISC_USER=sysdba\nISC_PASSWORD="%s"\n' "$password" >"$pw_copy"
stored() { sed -n 's/^ISC_PASSWORD="\{0,1\}\([^"]*\)"\{0,1\}$/\1/p' "$pw_copy"; }
printf '%s\n' "$odd" | office_server --password-file "$pw_copy" --set-sysdba-password "$database" >"$tmp/odd.out" 2>&1 \
  || { cat "$tmp/odd.out"; fail "setting a password with backslashes failed"; }
[ "$(stored)" = "$odd" ] || fail "the password file holds '$(stored)' for '$odd'"
[ "$(grep -c . "$pw_copy")" = 3 ] || fail "the password file has other lines now: $(cat "$pw_copy")"
# The server takes a moment before a changed password serves every new connection.
accepted() { # password
  local try
  for try in 1 2 3 4 5 6 7 8 9 10; do
    ISC_PASSWORD=$1 query "$location" "SELECT 'ok:' || 1 FROM RDB\$DATABASE;" | grep -q 'ok:1' && return 0
    sleep 0.3
  done
  return 1
}
accepted "$(stored)" || fail "the server refuses the password kept in the file"
# Back to the first one, the current password taken from the file itself.
printf '%s\n' "$password" | env -u ISC_PASSWORD "$script" --local-only --host localhost --port "$fb_private_port" \
  --password-file "$pw_copy" --set-sysdba-password "$database" >"$tmp/back.out" 2>&1 \
  || { cat "$tmp/back.out"; fail "the password read back from the file did not serve"; }
[ "$(stored)" = "$password" ] || fail "the password file was not put back"
accepted "$password" || fail "the password read back from the file was not set"

# A folder the server's user cannot write to is refused, and nothing is made in it.
mkdir -m 700 "$tmp/zamkniety"
if office_server "$tmp/zamkniety/zefirant.fdb" >"$tmp/refused.out" 2>&1; then
  fail "a folder closed to the server was accepted"
fi
grep -q 'not writable' "$tmp/refused.out" || fail "the refusal does not say why: $(cat "$tmp/refused.out")"
[ ! -e "$tmp/zamkniety/zefirant.fdb" ] || fail "a database was made in the closed folder"
office_server "relative/zefirant.fdb" >/dev/null 2>&1 && fail "a relative path was accepted"
finish
