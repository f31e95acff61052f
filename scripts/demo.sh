#!/usr/bin/env bash
# Opens the program on a demo shop: installs what is missing, builds, starts
# a private MariaDB in .demo/, fills a demo database once, writes Admin.ini
# beside the executable and starts the program as an operator.
#   scripts/demo.sh [OPERADOR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
user=${1:-OPERADOR}

bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" -j2 --target ContasReceber

port=$(bash "$root/scripts/mariadb-private.sh" start "$root/.demo")
sql=(mariadb --no-defaults -h127.0.0.1 -P"$port" -uroot -pkqv7315)
if ! "${sql[@]}" -e "USE lojademo" 2>/dev/null; then
  echo "Creating the demo database lojademo ..."
  "${sql[@]}" -e "CREATE DATABASE lojademo"
  "${sql[@]}" lojademo <"$root/data/schema.sql"
  /usr/bin/python3 "$root/scripts/gen_demo.py" --seed 1 --installments 800 | "${sql[@]}" lojademo
fi

cat >"$build/bin/Admin.ini" <<INI
[LOCAL]
SERVIDOR=127.0.0.1
PORTA=$port
BANCO=lojademo
JUROSDIA=0,33
SENHARECEBER=KLUMP
FILTRORELATORIOFISCAL=A
[LOJA]
[GERAL]
NAOHABILITADO01=CONSULTA
INI
echo "Admin.ini written to $build/bin/Admin.ini (MariaDB on 127.0.0.1:$port)"
echo "Stop the demo server with: scripts/mariadb-private.sh stop .demo"

# The suite passes a code first and the operator's name second.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: running under xvfb-run."
  exec xvfb-run -a -s "-screen 0 1366x768x24" "$build/bin/ContasReceber" SUITE "$user"
fi
exec "$build/bin/ContasReceber" SUITE "$user"
