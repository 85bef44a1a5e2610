#!/usr/bin/env bash
# Sets up this computer as the office's Firebird 3 server for Zefirant PL+: installs the server
# when it is missing, starts it, creates the office database from the program's creation script
# and prints the location to type into the program's database window.
#
#   scripts/office-server.sh [options] [DATABASE_FILE]
#
#   DATABASE_FILE            default /var/lib/firebird/3.0/data/zefirant.fdb
#   --host NAME              the server's name in the printed location (default: this host's name)
#   --port N                 the server listens on port N, not 3050 (a server of its own, already
#                            running; the location printed then names the port)
#   --local-only             leave the server listening on this computer only
#   --set-sysdba-password    ask for a new SYSDBA password (one line from standard input when
#                            that is not a terminal) and set it
#   --password-file FILE     the file that keeps the SYSDBA password
#                            (default /etc/firebird/3.0/SYSDBA.password)
#
# The current SYSDBA password is taken from ISC_PASSWORD, else from the package's
# password file. Run again at any time: an existing database is never
# touched, only its location is printed.
set -euo pipefail

arguments=("$@")
root=$(cd "$(dirname "$0")/.." && pwd)
schema=$root/data/schema/create.sql
conf_dir=/etc/firebird/3.0
pw_file=$conf_dir/SYSDBA.password
database=/var/lib/firebird/3.0/data/zefirant.fdb
host=
local_only=0
set_password=0
port=3050

die() { echo "office-server: $*" >&2; exit 1; }

while [ $# -gt 0 ]; do
  case $1 in
    --host) [ $# -ge 2 ] || die "--host needs a name"; host=$2; shift 2 ;;
    --local-only) local_only=1; shift ;;
    --port)
      [ $# -ge 2 ] || die "--port needs a number"
      case $2 in '' | *[!0-9]*) die "--port needs a number: $2" ;; esac
      port=$2; shift 2 ;;
    --set-sysdba-password) set_password=1; shift ;;
    --password-file) [ $# -ge 2 ] || die "--password-file needs a file"; pw_file=$2; shift 2 ;;
    -h|--help) sed -n '2,20p' "$0"; exit 0 ;;
    -*) die "unknown option $1 (see --help)" ;;
    *) database=$1; shift ;;
  esac
done

case $database in
  /*) ;;
  *) die "the database file must be given with its full path: $database" ;;
esac
case $database in
  *:*|*\'*) die "the path must not contain a colon or an apostrophe: $database" ;;
esac
[ -f "$schema" ] || die "the creation script $schema is missing"

if [ "$(id -u)" != 0 ]; then
  command -v sudo >/dev/null || die "run as root: it installs and configures the server"
  exec sudo --preserve-env=ISC_PASSWORD "$0" "${arguments[@]}"
fi

# --------------------------------------------------------------------- the server

if ! dpkg-query -W -f='${Status}' firebird3.0-server 2>/dev/null | grep -q 'install ok installed'; then
  echo "Installing the Firebird 3 server (firebird3.0-server)..."
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends firebird3.0-server firebird3.0-utils
fi
command -v isql-fb >/dev/null || die "isql-fb is missing (package firebird3.0-utils)"

port_open() { (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; }

wait_for_port() {
  for _ in $(seq 1 50); do
    port_open && return 0
    sleep 0.2
  done
  return 1
}

start_server() {
  if [ -d /run/systemd/system ]; then
    systemctl enable --now firebird3.0
  elif [ -x /etc/init.d/firebird3.0 ]; then
    service firebird3.0 start
  else
    mkdir -p /run/firebird3.0
    chown firebird:firebird /run/firebird3.0
    su -s /bin/sh firebird -c "/usr/sbin/fbguard -daemon -forever -pidfile /run/firebird3.0/fbguard.pid"
  fi
}

restart_server() {
  if [ -d /run/systemd/system ]; then
    systemctl restart firebird3.0
  elif [ -x /etc/init.d/firebird3.0 ]; then
    service firebird3.0 restart
  else
    echo "Restart the Firebird server by hand so that it listens on the network."
  fi
}

# Debian's server listens on localhost only; the office's computers must reach it.
opened=0
if [ "$local_only" = 0 ] && [ "$port" = 3050 ] && grep -q '^[[:space:]]*RemoteBindAddress[[:space:]]*=[[:space:]]*localhost' "$conf_dir/firebird.conf"; then
  sed -i 's/^[[:space:]]*RemoteBindAddress[[:space:]]*=[[:space:]]*localhost.*/#RemoteBindAddress = localhost  (opened to the network by office-server.sh)/' \
    "$conf_dir/firebird.conf"
  opened=1
fi

if [ "$port" != 3050 ]; then
  # Another port is a server of its own, started by whoever chose it.
  port_open || die "no Firebird server answers on port $port"
elif port_open; then
  [ "$opened" = 1 ] && restart_server
else
  echo "Starting the Firebird server..."
  start_server
fi
wait_for_port || die "the Firebird server does not answer on port $port"

# --------------------------------------------------------------------- SYSDBA

if [ -z "${ISC_PASSWORD:-}" ]; then
  [ -r "$pw_file" ] || die "no SYSDBA password: set ISC_PASSWORD or see $pw_file"
  ISC_PASSWORD=$(sed -n 's/^ISC_PASSWORD="\{0,1\}\([^"]*\)"\{0,1\}$/\1/p' "$pw_file")
fi
# isql reads the credentials from the environment, so they never show in a process list.
export ISC_USER=SYSDBA ISC_PASSWORD

# Runs isql input from stdin against the server; the output goes to $1 (kept from the log).
run_isql() {
  local input
  input=$(mktemp)
  cat >"$input"
  local rc=0
  isql-fb -q -b -i "$input" >"$1" 2>&1 || rc=$?
  rm -f "$input"
  if [ $rc -ne 0 ] || grep -q 'Statement failed\|SQLSTATE' "$1"; then
    return 1
  fi
}

# --------------------------------------------------------------------- the database

folder=$(dirname "$database")
[ "$host" ] || host=$( [ "$local_only" = 1 ] && echo localhost || hostname -f 2>/dev/null || hostname)
# Firebird's own form for a port: host/port:path.
server=localhost
[ "$port" = 3050 ] || { server=localhost/$port; host=$host/$port; }
location="$host:$database"

as_firebird() { su -s /bin/sh firebird -c "$1" sh "${@:2}"; }

if [ -e "$database" ]; then
  echo "The database $database is there already; it is left as it is."
else
  if [ ! -d "$folder" ]; then
    mkdir -p "$folder" || die "the folder $folder cannot be created"
    chown firebird:firebird "$folder"
  fi
  if ! as_firebird 'test -w "$1" && test -x "$1"' "$folder"; then
    die "the folder $folder is not writable by the server's user firebird (and every folder above it must be open to it); give it to firebird (chown firebird:firebird $folder) or choose another one"
  fi
  # Only the server's user and group reach the database file.
  chmod o-rwx "$folder"

  log=$(mktemp)
  echo "Creating the database $database..."
  {
    echo "SET SQL DIALECT 1;"
    echo "CREATE DATABASE '$server:$database' DEFAULT CHARACTER SET WIN1250;"
    echo "SET BAIL ON;"
    echo "SET AUTODDL OFF;"
    echo "SET TERM ^ ;"
    # The program's runner: a line holding a comment opener ends a statement.
    awk '/\/\*/ { printf "%s^\nCOMMIT^\n", stmt; stmt = ""; next } { stmt = stmt $0 "\n" }' "$schema"
  } | iconv -f UTF-8 -t WINDOWS-1250 | run_isql "$log" || {
    iconv -f WINDOWS-1250 -t UTF-8 "$log" | sed 's/^/  /' | head -20 >&2
    rm -f "$log"
    # A half-made database would be taken for the office's one on the next run.
    [ -e "$database" ] && rm -f "$database"
    die "the database could not be created"
  }
  rm -f "$log"
  chmod 660 "$database"
fi

if [ "$set_password" = 1 ]; then
  if [ -t 0 ]; then
    read -rsp "New SYSDBA password: " new_password; echo
    read -rsp "Once more: " again; echo
    [ "$new_password" = "$again" ] || die "the two passwords differ"
  else
    IFS= read -r new_password || true
  fi
  [ -n "$new_password" ] || die "an empty SYSDBA password is not set"
  case $new_password in *\'*|*\"*) die "the password must not contain quotes" ;; esac
  out=$(mktemp)
  # Any database of the server takes the statement; the office's one is at hand.
  printf "CONNECT '%s:%s';\nALTER USER SYSDBA PASSWORD '%s';\nCOMMIT;\n" "$server" "$database" "$new_password" \
    | run_isql "$out" || { sed 's/^/  /' "$out" >&2; rm -f "$out"; die "the SYSDBA password was not changed"; }
  rm -f "$out"
  if [ -f "$pw_file" ] && [ "$new_password" != "$ISC_PASSWORD" ]; then
    # Maintenance scripts read the password from this file: keep it in step.
    tmp=$(mktemp "$pw_file.XXXXXX")
    chmod 600 "$tmp"
    # From the environment, not -v: awk would read backslashes in a -v value as escapes.
    ZF_NEW_PASSWORD=$new_password awk '/^ISC_PASSWORD=/ { print "ISC_PASSWORD=\"" ENVIRON["ZF_NEW_PASSWORD"] "\""; next } { print }' \
      "$pw_file" >"$tmp"
    mv "$tmp" "$pw_file"
  fi
  ISC_PASSWORD=$new_password
  echo "The SYSDBA password is set."
fi

echo
echo "Database location for the program's database window:"
echo "$location"
