#!/usr/bin/env bash
# Builds, starts a private MariaDB, loads 10,000 and 100,000 generated
# installments and prints the benchmark figures.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" -j2 --target bench_dataset bench_receber
cmake --build "$build" -j2 --target bench_reports

dbdir="$root/.bench"
port=$(bash "$root/scripts/mariadb-private.sh" start "$dbdir")
sql=(mariadb --no-defaults -h127.0.0.1 -P"$port" -uroot -pkqv7315)
for n in 10000 100000; do
  db=bench$n
  if [ "$("${sql[@]}" -N -e "SELECT COUNT(*) FROM information_schema.tables WHERE table_schema='$db' AND table_name='receber'")" = 0 ] ||
     [ "$("${sql[@]}" -N -e "SELECT COUNT(*) FROM $db.receber")" != "$n" ]; then
    echo "loading $n installments into $db ..."
    "${sql[@]}" -e "DROP DATABASE IF EXISTS $db; CREATE DATABASE $db"
    "${sql[@]}" "$db" <"$root/data/schema.sql"
    /usr/bin/python3 "$root/scripts/gen_demo.py" --seed 7 --installments "$n" --today 2026-06-30 | "${sql[@]}" "$db"
  fi
done
# The open-installments listing prints only open rows: these two hold
# 10,000 and 100,000 generated installments with the settlement undone.
for n in 10000 100000; do
  db=benchopen$n
  if [ "$("${sql[@]}" -N -e "SELECT COUNT(*) FROM information_schema.tables WHERE table_schema='$db' AND table_name='receber'")" = 0 ] ||
     [ "$("${sql[@]}" -N -e "SELECT COUNT(*) FROM $db.receber WHERE DataQuitacao IS NULL")" != "$n" ]; then
    echo "preparing $n open installments in $db ..."
    "${sql[@]}" -e "DROP DATABASE IF EXISTS $db; CREATE DATABASE $db"
    "${sql[@]}" "$db" <"$root/data/schema.sql"
    "${sql[@]}" "$db" -e "INSERT INTO configuracao SELECT * FROM bench100000.configuracao;
      INSERT INTO receber SELECT * FROM bench100000.receber ORDER BY Controle LIMIT $n;
      UPDATE receber SET DataQuitacao = NULL, Pago = NULL, NFCancelada = 'N',
        CodigoParcela = IF(CodigoParcela = -1, 1, CodigoParcela);"
  fi
done

"$build/bin/bench_dataset" "$port" bench10000 bench100000 "${1:-1000}"
"$build/bin/bench_reports" "$port" benchopen10000 benchopen100000
"$build/bin/bench_receber" "$port" bench100000
echo "(the bench server keeps running in .bench/; stop it with scripts/mariadb-private.sh stop .bench)"
