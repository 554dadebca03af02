#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: a normal build and an
# AddressSanitizer + UndefinedBehaviorSanitizer build. Fails on any failed test or sanitizer report.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/setup.sh

jobs=${JOBS:-2}
run_suite() {
  local dir=$1; shift
  echo "== $dir: configure and build"
  cmake -S . -B "$dir" -G Ninja "$@" >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; return 1; }
  cmake --build "$dir" -j"$jobs"
  echo "== $dir: tests"
  local log="$dir/ctest.log"
  local status=0
  ctest --test-dir "$dir" -j"$jobs" --output-on-failure 2>&1 | tee "$log" || status=$?
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  if grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:|SUMMARY: (Address|UndefinedBehavior|Leak)Sanitizer' "$log"; then
    echo "== $dir: sanitizer report found" >&2
    status=1
  fi
  return $status
}

mkdir -p build build-asan
run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_suite build-asan -DCMAKE_BUILD_TYPE=Debug -DTESSARIN_SANITIZE=ON -DTESSARIN_BUILD_BENCH=OFF
echo "== all tests passed in both builds"
