# Starting and stopping the local Firebird server for the tests; sourced by test.sh.
# Exports ZF_TEST_SERVER and ZF_TEST_SERVER_PASSWORD when a server is there to use.

fb_started_here=0
fb_pidfile=/run/firebird3.0/zf-test-fbguard.pid

fb_port_open() {
  (exec 3<>/dev/tcp/127.0.0.1/3050) 2>/dev/null
}

fb_server_start() {
  if ! fb_port_open; then
    if [ "$(id -u)" != 0 ] || ! id firebird >/dev/null 2>&1 || [ ! -x /usr/sbin/fbguard ]; then
      echo "No Firebird server on localhost and none can be started here: server tests are skipped."
      return 0
    fi
    mkdir -p /run/firebird3.0
    chown firebird:firebird /run/firebird3.0
    su -s /bin/sh firebird -c "/usr/sbin/fbguard -daemon -forever -pidfile $fb_pidfile"
    for _ in $(seq 1 50); do
      fb_port_open && break
      sleep 0.2
    done
    if ! fb_port_open; then
      echo "The Firebird server did not start: server tests are skipped."
      return 0
    fi
    fb_started_here=1
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
  if [ "$fb_started_here" = 1 ] && [ -f "$fb_pidfile" ]; then
    kill "$(cat "$fb_pidfile")" 2>/dev/null || true
    for _ in $(seq 1 50); do
      fb_port_open || break
      sleep 0.2
    done
    rm -f "$fb_pidfile"
  fi
}
