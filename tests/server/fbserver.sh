#!/usr/bin/env bash
# A Firebird server of the tests' own, listening on 127.0.0.1 only, with its
# own configuration and users: nothing of the machine's Firebird is touched.
#   tests/server/fbserver.sh start DIR PORT   prints host/port when it answers
#   tests/server/fbserver.sh stop DIR
set -euo pipefail
cmd=${1:?start|stop}
dir=$(realpath -m "${2:?folder}")
server=/usr/sbin/firebird

case "$cmd" in
  start)
    port=${3:?port}
    [ -x "$server" ] || { echo "manca $server (pacchetto firebird3.0-server)" >&2; exit 1; }
    "$0" stop "$dir" 2>/dev/null || true
    rm -rf "$dir"
    mkdir -p "$dir"
    cat > "$dir/firebird.conf" <<CONF
RemoteServicePort = $port
RemoteBindAddress = 127.0.0.1
SecurityDatabase = $dir/security3.fdb
ServerMode = Super
CONF
    # The users, written before the server starts: the engine of isql and
    # the server must not hold the file at the same time.
    echo "CREATE DATABASE '$dir/security3.fdb' USER 'SYSDBA';" | FIREBIRD=$dir isql-fb -q >/dev/null
    FIREBIRD=$dir isql-fb -q -user SYSDBA "$dir/security3.fdb" >/dev/null <<SQL
CREATE USER SYSDBA PASSWORD 'masterkey' USING PLUGIN Srp;
CREATE USER SEGRETERIA PASSWORD 'segreteria' USING PLUGIN Srp;
COMMIT;
SQL
    FIREBIRD=$dir setsid "$server" >"$dir/server.log" 2>&1 < /dev/null &
    echo $! > "$dir/server.pid"
    for _ in $(seq 1 100); do
      if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
        echo "127.0.0.1/$port"
        exit 0
      fi
      sleep 0.1
    done
    echo "il server Firebird di prova non risponde sulla porta $port" >&2
    cat "$dir/server.log" >&2 || true
    exit 1
    ;;
  stop)
    [ -f "$dir/server.pid" ] || exit 0
    pid=$(cat "$dir/server.pid")
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
    rm -f "$dir/server.pid"
    ;;
esac
