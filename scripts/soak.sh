#!/usr/bin/env bash
# The long soak: the automatic refresh for [cycles] cycles (default 2000) against changing data, in a
# sealed session, twice: in the normal build (build-robust), where resident memory must level off, and
# in the AddressSanitizer + LeakSanitizer build (build-robust-asan), where nothing may leak. Prints the
# resident memory figures; fails on a mismatch, a failed refresh, growth, a leak or a sanitizer report.
#
#   scripts/soak.sh [cycles]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

cycles=${1:-2000}
jobs=${JOBS:-2}
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/data/lsan.supp:print_suppressions=0

soak() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DTESSARIN_BUILD_BENCH=ON "$@" >"$dir.configure.log" 2>&1 ||
    { cat "$dir.configure.log"; return 1; }
  cmake --build "$dir" -j"$jobs" --target bench_soak
  local log="$dir/soak.log" status=0
  echo "== $dir: $cycles cycles"
  scripts/test-session.sh -- "$dir/bench/app/bench_soak" "$cycles" 2>&1 | tee "$log" || status=$?
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  if grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:|SUMMARY: (Address|UndefinedBehavior|Leak)Sanitizer' "$log"; then
    echo "== $dir: sanitizer report found" >&2
    status=1
  fi
  return $status
}

status=0
soak build-robust -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSARIN_BUILD_TESTS=OFF || status=1
soak build-robust-asan -DCMAKE_BUILD_TYPE=Debug -DTESSARIN_SANITIZE=ON -DTESSARIN_BUILD_TESTS=OFF || status=1
exit $status
