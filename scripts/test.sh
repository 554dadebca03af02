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
  # Each program's last lines are kept for passed tests too: they hold its count of test functions.
  ctest --test-dir "$dir" -j"$jobs" --output-on-failure --output-junit "$PWD/$dir/results.xml" \
    --test-output-size-passed 4096 --test-output-truncation head 2>&1 | tee "$log" || status=$?
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  if grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:|SUMMARY: (Address|UndefinedBehavior|Leak)Sanitizer' "$log"; then
    echo "== $dir: sanitizer report found" >&2
    status=1
  fi
  counts+=("$dir: $(count_tests "$dir/results.xml")")
  return $status
}

# "N passed, M failed, K skipped" summed over every program's closing line (Qt Test's "Totals: …" and
# the shell checks' own), and how many programs ran.
count_tests() {
  local programs
  programs=$(grep -c '<testcase ' "$1" 2>/dev/null) || programs=0
  grep -oE '[0-9]+ passed, [0-9]+ failed(, [0-9]+ skipped)?' "$1" 2>/dev/null |
    awk -v programs="$programs" '{ p += $1; f += $3; s += $5 }
      END { printf "%d passed, %d failed, %d skipped in %d programs\n", p, f, s, programs }'
}
counts=()
report() {
  local line
  for line in "${counts[@]}"; do echo "== $line"; done
  [ ${#counts[@]} -eq 0 ] || printf '%s\n' "${counts[@]}" |
    awk '{ p += $2; f += $4; s += $6 } END { printf "tests: %d passed, %d failed, %d skipped\n", p, f, s }'
}
trap report EXIT

mkdir -p build build-asan
run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_suite build-asan -DCMAKE_BUILD_TYPE=Debug -DTESSARIN_SANITIZE=ON -DTESSARIN_BUILD_BENCH=OFF
echo "== all tests passed in both builds"
