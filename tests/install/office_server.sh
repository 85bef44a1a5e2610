#!/usr/bin/env bash
# scripts/office-server.sh against the local test server on a temporary path: the printed
# location connects to a new database of the program's schema, a second run keeps it, and a
# folder the server cannot write to is refused.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
script=$here/../../scripts/office-server.sh
[ -n "${ZF_TEST_SERVER:-}" ] && [ -n "${ZF_TEST_SERVER_PASSWORD:-}" ] || skip "no local test server (scripts/test.sh starts one)"
[ "$(id -u)" = 0 ] || skip "the office server script needs root"
need isql-fb

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# The server's user must reach the folders below.
chmod 755 "$tmp"
export ISC_USER=SYSDBA ISC_PASSWORD=$ZF_TEST_SERVER_PASSWORD
database=$tmp/biuro/zefirant.fdb

office_server() { "$script" --local-only --host "$ZF_TEST_SERVER" "$@"; }
query() { # location, statements
  printf "CONNECT '%s';\n%s\n" "$1" "$2" >"$tmp/q.sql"
  isql-fb -q -i "$tmp/q.sql" 2>&1
}

office_server "$database" >"$tmp/first.out" 2>&1 || { cat "$tmp/first.out"; fail "the first run failed"; finish; }
cat "$tmp/first.out"
location=$(tail -1 "$tmp/first.out")
[ "$location" = "$ZF_TEST_SERVER:$database" ] || fail "printed location '$location'"
grep -qF "$ZF_TEST_SERVER_PASSWORD" "$tmp/first.out" && fail "the SYSDBA password is printed"

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

# Run again, also setting the SYSDBA password (to the one it has, the server is shared): the
# database stays as it is.
printf '%s\n' "$ZF_TEST_SERVER_PASSWORD" | office_server --set-sysdba-password "$database" >"$tmp/second.out" 2>&1 \
  || { cat "$tmp/second.out"; fail "the second run failed"; }
[ "$(tail -1 "$tmp/second.out")" = "$location" ] || fail "the second run printed another location"
grep -qF "$ZF_TEST_SERVER_PASSWORD" "$tmp/second.out" && fail "the SYSDBA password is printed"
out=$(query "$location" "SELECT 'kept:' || COUNT(*) FROM ZF_KEEP;")
grep -q 'kept:0' <<<"$out" || fail "the existing database was replaced: $out"

# A folder the server's user cannot write to is refused, and nothing is made in it.
mkdir -m 700 "$tmp/zamkniety"
if office_server "$tmp/zamkniety/zefirant.fdb" >"$tmp/refused.out" 2>&1; then
  fail "a folder closed to the server was accepted"
fi
grep -q 'not writable' "$tmp/refused.out" || fail "the refusal does not say why: $(cat "$tmp/refused.out")"
[ ! -e "$tmp/zamkniety/zefirant.fdb" ] || fail "a database was made in the closed folder"
office_server "relative/zefirant.fdb" >/dev/null 2>&1 && fail "a relative path was accepted"
finish
