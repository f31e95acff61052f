#!/usr/bin/env bash
# Installs what is missing, builds, starts a private MariaDB and runs every
# test against it.  Options:
#   --sanitize   build and test with AddressSanitizer + UBSan (build-asan/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
cmake_args=()
if [ "${1:-}" = "--sanitize" ]; then
  build="$root/build-asan"
  cmake_args+=(-DCR_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi

bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja "${cmake_args[@]}" >/dev/null
cmake --build "$build" -j2

dbdir=$(mktemp -d /tmp/cr-testdb-XXXXXX)
cleanup() { bash "$root/scripts/mariadb-private.sh" stop "$dbdir" || true; rm -rf "$dbdir"; }
trap cleanup EXIT
CR_TEST_PORT=$(bash "$root/scripts/mariadb-private.sh" start "$dbdir")
export CR_TEST_PORT
echo "private MariaDB on 127.0.0.1:$CR_TEST_PORT"

cd "$build"
ctest --output-on-failure -j2 --timeout 600
