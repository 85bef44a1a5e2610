# Starting and stopping Firebird servers for the tests; sourced by test.sh and by the tests that
# need a server of their own.
#
#   fb_server_start / fb_server_stop      the machine's server on localhost:3050 for the
#                                         shared-database tests; exports ZF_TEST_SERVER and
#                                         ZF_TEST_SERVER_PASSWORD when one is there to use, and
#                                         stops only the one it started
#   fb_private_start ROOT / fb_private_stop
#                                         a server of a test's own (its root folder ROOT with a copy
#                                         of the security database, its own configuration, lock
#                                         folder and port) for a test that changes server-wide
#                                         settings such as the SYSDBA password; sets fb_private_port
#
# fbguard writes the server's pid into its pid file, not its own, and with -forever starts a
# server that ends again at once: stopping means stopping the guard, whose pid is remembered
# here (it is started in the background without -daemon).

fb_started_here=0
fb_run=/run/firebird3.0
fb_pidfile=$fb_run/zf-test-fbguard.pid
fb_guard=
fb_private_root=
fb_private_port=
fb_private_guard=

fb_port_open() { # [port]
  (exec 3<>"/dev/tcp/127.0.0.1/${1:-3050}") 2>/dev/null
}

fb_wait_port() { # port open|closed
  local _
  for _ in $(seq 1 75); do
    if fb_port_open "$1"; then [ "$2" = open ] && return 0; else [ "$2" = closed ] && return 0; fi
    sleep 0.2
  done
  return 1
}

fb_can_start() {
  [ "$(id -u)" = 0 ] && id firebird >/dev/null 2>&1 && [ -x /usr/sbin/fbguard ] \
    && command -v setpriv >/dev/null
}

# fbguard as user firebird in the background, with the environment given (NAME=VALUE ...);
# its pid in fb_last_guard. Its output goes nowhere: a pipe held open by a server would keep
# whoever reads this script's output waiting. Should the shell that started it be killed before
# it could stop it, the guard is told to end (and ends its server).
fb_guard_start() { # pidfile [NAME=VALUE ...]
  local pidfile=$1
  shift
  setpriv --reuid=firebird --regid=firebird --init-groups --pdeathsig TERM env "$@" \
    /usr/sbin/fbguard -forever -pidfile "$pidfile" </dev/null >/dev/null 2>&1 &
  fb_last_guard=$!
}

fb_alive() { # pid: running, not a zombie waiting for us
  local state
  state=$(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null) || return 1
  [ -n "$state" ] && [ "$state" != Z ]
}

# Ends a guard started by fb_guard_start and the server it runs: the guard first (on SIGTERM it
# ends its server), then the server itself should the guard have left it behind.
fb_guard_stop() { # guard_pid server_pidfile port
  local guard=$1 pidfile=$2 port=$3 server _
  server=$(cat "$pidfile" 2>/dev/null || true)
  if [ -n "$guard" ]; then
    kill "$guard" 2>/dev/null || true
    for _ in $(seq 1 50); do fb_alive "$guard" || break; sleep 0.2; done
    fb_alive "$guard" && kill -KILL "$guard" 2>/dev/null
    wait "$guard" 2>/dev/null || true
  fi
  case $server in
    '' | *[!0-9]*) ;;
    *)
      # Only the server binary itself: the pid may have been taken by another process since.
      if fb_alive "$server" && [ "$(readlink "/proc/$server/exe" 2>/dev/null)" = /usr/sbin/firebird ]; then
        kill "$server" 2>/dev/null || true
        for _ in $(seq 1 50); do fb_alive "$server" || break; sleep 0.2; done
      fi
      ;;
  esac
  rm -f "$pidfile"
  fb_wait_port "$port" closed
}

fb_server_start() {
  if ! fb_port_open 3050; then
    if ! fb_can_start; then
      echo "No Firebird server on localhost and none can be started here: server tests are skipped."
      return 0
    fi
    mkdir -p "$fb_run"
    chown firebird:firebird "$fb_run"
    fb_guard_start "$fb_pidfile"
    fb_guard=$fb_last_guard
    fb_started_here=1
    if ! fb_wait_port 3050 open; then
      echo "The Firebird server did not start: server tests are skipped."
      fb_server_stop
      return 0
    fi
  fi
  local pwfile=/etc/firebird/3.0/SYSDBA.password
  if [ -r "$pwfile" ]; then
    # The file is a shell fragment written by the package: ISC_USER=..., ISC_PASSWORD="..."
    ZF_TEST_SERVER_PASSWORD=$(sed -n 's/^ISC_PASSWORD="\{0,1\}\([^"]*\)"\{0,1\}$/\1/p' "$pwfile")
    export ZF_TEST_SERVER=localhost ZF_TEST_SERVER_PASSWORD
  else
    echo "The SYSDBA password is not readable: server tests are skipped."
  fi
}

fb_server_stop() {
  if [ "$fb_started_here" = 1 ]; then
    fb_guard_stop "$fb_guard" "$fb_pidfile" 3050
    fb_started_here=0
    fb_guard=
  fi
}

# The server of a test's own. Its SYSDBA password is the machine's at the moment of the copy;
# whatever the test sets stays in ROOT. False when no server can be started here.
fb_private_start() { # root
  local root=$1 lib='' entry port security=/var/lib/firebird/3.0/system/security3.fdb
  fb_can_start && [ -r "$security" ] || return 1
  for entry in /usr/lib/*/firebird/3.0; do [ -d "$entry/plugins" ] && lib=$entry; done
  [ -n "$lib" ] || return 1
  for port in $(seq 3060 3099); do fb_port_open "$port" || break; done
  fb_port_open "$port" && return 1
  mkdir -p "$root/lock" || return 1
  # The installation's root folder with two files of its own, the configuration and the aliases,
  # and a copy of the character sets (the engine does not load them through a link).
  for entry in "$lib"/*; do
    case ${entry##*/} in
      firebird.conf | databases.conf) ;;
      intl) cp -R -L "$entry" "$root/intl" || return 1 ;;
      *) ln -s "$entry" "$root/${entry##*/}" ;;
    esac
  done
  cp "$security" "$root/security3.fdb" || return 1
  printf 'security.db = %s/security3.fdb\n' "$root" >"$root/databases.conf"
  {
    echo "RemoteServicePort = $port"
    echo "RemoteBindAddress = localhost"
    echo "SecurityDatabase = $root/security3.fdb"
    echo "UdfAccess = None"
  } >"$root/firebird.conf"
  chown -R -h firebird:firebird "$root"
  fb_guard_start "$root/server.pid" FIREBIRD="$root" FIREBIRD_LOCK="$root/lock"
  fb_private_guard=$fb_last_guard
  fb_private_root=$root
  fb_private_port=$port
  fb_wait_port "$port" open || { fb_private_stop; return 1; }
}

fb_private_stop() {
  [ -n "$fb_private_root" ] || return 0
  fb_guard_stop "$fb_private_guard" "$fb_private_root/server.pid" "$fb_private_port"
  fb_private_root=
  fb_private_guard=
}
