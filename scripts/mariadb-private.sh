#!/usr/bin/env bash
# Starts or stops a private MariaDB server in a data directory of its own.
#   mariadb-private.sh start DIR   -> prints the TCP port it listens on
#   mariadb-private.sh stop DIR
# The server listens on 127.0.0.1 only, at a free port and at DIR/s.sock,
# compares table names case-insensitively like the shops' servers, and
# lets root log in with the password the program uses.
set -euo pipefail
cmd=${1:?start|stop}
dir=$(realpath -m "${2:?data directory}")
ROOT_PW=kqv7315

free_port() {
  /usr/bin/python3 - <<'PY'
import socket
s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1]); s.close()
PY
}

case "$cmd" in
start)
  mkdir -p "$dir"
  if [ -f "$dir/port" ] && mariadb-admin --no-defaults --socket="$dir/s.sock" -uroot -p"$ROOT_PW" ping >/dev/null 2>&1; then
    cat "$dir/port"; exit 0
  fi
  if [ ! -d "$dir/db/mysql" ]; then
    mkdir -p "$dir/db"
    mariadb-install-db --no-defaults --datadir="$dir/db" --user="$(id -un)" \
      --auth-root-authentication-method=normal --skip-test-db >"$dir/install.log" 2>&1
    fresh=1
  else
    fresh=0
  fi
  port=$(free_port)
  nohup mariadbd --no-defaults --datadir="$dir/db" --user="$(id -un)" \
    --socket="$dir/s.sock" --port="$port" --bind-address=127.0.0.1 \
    --skip-name-resolve --lower-case-table-names=1 \
    --character-set-server=utf8mb4 --collation-server=utf8mb4_unicode_ci \
    --innodb-buffer-pool-size=256M --innodb-flush-log-at-trx-commit=2 \
    --max-connections=200 --pid-file="$dir/mariadb.pid" \
    --log-error="$dir/error.log" >/dev/null 2>&1 &
  for _ in $(seq 1 100); do
    # ping answers 0 as soon as the server is up, even when access is denied
    [ -S "$dir/s.sock" ] && mariadb-admin --no-defaults --socket="$dir/s.sock" -uroot ping >/dev/null 2>&1 && break
    sleep 0.2
  done
  if [ "$fresh" = 1 ]; then
    mariadb --no-defaults --socket="$dir/s.sock" -uroot <<SQL
ALTER USER 'root'@'localhost' IDENTIFIED BY '$ROOT_PW';
CREATE USER IF NOT EXISTS 'root'@'127.0.0.1';
ALTER USER 'root'@'127.0.0.1' IDENTIFIED BY '$ROOT_PW';
GRANT ALL PRIVILEGES ON *.* TO 'root'@'127.0.0.1' WITH GRANT OPTION;
FLUSH PRIVILEGES;
SQL
  fi
  mariadb-admin --no-defaults --socket="$dir/s.sock" -uroot -p"$ROOT_PW" ping >/dev/null \
    || { echo "MariaDB did not start; see $dir/error.log" >&2; exit 1; }
  echo "$port" >"$dir/port"
  echo "$port"
  ;;
stop)
  if [ -S "$dir/s.sock" ]; then
    mariadb-admin --no-defaults --socket="$dir/s.sock" -uroot -p"$ROOT_PW" shutdown >/dev/null 2>&1 || true
  fi
  if [ -f "$dir/mariadb.pid" ]; then
    pid=$(cat "$dir/mariadb.pid" 2>/dev/null || true)
    for _ in $(seq 1 50); do
      [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null || break
      sleep 0.2
    done
  fi
  rm -f "$dir/port"
  ;;
*) echo "usage: $0 start|stop DIR" >&2; exit 2 ;;
esac
