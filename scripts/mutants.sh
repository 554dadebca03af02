#!/usr/bin/env bash
# Proves that the suite catches deliberate faults. Each patch under tests/mutants/ (a first paragraph
# saying what the fault is, then a diff) is applied in turn to a scratch copy of the tree as it stands,
# uncommitted changes included; the copy is built and the whole suite run. A fault is caught when a
# test fails. A developer tool, slow (about a minute per fault on two cores), not part of CI.
#
#   scripts/mutants.sh [--asan] [PATCH...]     default: every patch under tests/mutants/
#     --asan   build with AddressSanitizer and UndefinedBehaviorSanitizer
# The scratch copy and its build stay in $TESSARIN_MUTANTS_DIR (default /tmp/tessarin-mutants), so a
# second run rebuilds only what changed.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=${TESSARIN_MUTANTS_DIR:-${TMPDIR:-/tmp}/tessarin-mutants}
flavour=normal
config=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSARIN_BUILD_BENCH=OFF)
if [ "${1:-}" = --asan ]; then
  flavour=asan
  config=(-DCMAKE_BUILD_TYPE=Debug -DTESSARIN_SANITIZE=ON -DTESSARIN_BUILD_BENCH=OFF)
  shift
fi
patches=("$@")
[ ${#patches[@]} -gt 0 ] || patches=("$root"/tests/mutants/*.patch)
jobs=${JOBS:-2}
src=$work/src
build=$work/build-$flavour
mkdir -p "$src" "$build"

# Copy only files whose content differs: an unchanged file keeps its time, so the build stays
# incremental, and a changed one gets a new time, so it is rebuilt.
(cd "$root" && git ls-files -co --exclude-standard) | while IFS= read -r file; do
  [ -f "$root/$file" ] || continue
  if ! cmp -s "$root/$file" "$src/$file"; then
    mkdir -p "$(dirname "$src/$file")"
    cp "$root/$file" "$src/$file"
  fi
done

# Files gone from the tree go from the copy too: a stale header there would still be found by an include.
(cd "$root" && git ls-files -co --exclude-standard) | sort >"$work/files"
(cd "$src" && find . -type f | sed 's|^\./||' | sort) | comm -23 - "$work/files" |
  (cd "$src" && xargs -r -d '\n' rm -f --)

log=$work/log
mkdir -p "$log"
echo "== building the unchanged tree in $build"
cmake -S "$src" -B "$build" -G Ninja "${config[@]}" >"$log/configure.txt" 2>&1 || { cat "$log/configure.txt"; exit 1; }
run_suite() { ctest --test-dir "$build" -j"$jobs" --timeout 180 --output-on-failure "$@"; }
if ! cmake --build "$build" -j"$jobs" >"$log/build.txt" 2>&1; then
  tail -40 "$log/build.txt"; echo "the unchanged tree does not build"; exit 1
fi
if ! run_suite >"$log/baseline.txt" 2>&1; then
  grep -A30 'tests FAILED' "$log/baseline.txt" || tail -40 "$log/baseline.txt"
  echo "the unchanged tree fails its own tests; fix that first"; exit 1
fi

caught=0 missed=0 broken=0
for patch in "${patches[@]}"; do
  name=$(basename "$patch" .patch)
  if ! patch -p1 -d "$src" --dry-run -s -f <"$patch" >/dev/null 2>&1; then
    echo "n/a      $name: does not apply to this tree"; broken=$((broken + 1)); continue
  fi
  patch -p1 -d "$src" -s -f <"$patch" >/dev/null
  if ! cmake --build "$build" -j"$jobs" >"$log/$name.build.txt" 2>&1; then
    echo "n/a      $name: does not build (see $log/$name.build.txt)"; broken=$((broken + 1))
  elif run_suite --stop-on-failure >"$log/$name.txt" 2>&1; then
    echo "MISSED   $name"; missed=$((missed + 1))
  else
    by=$(sed -n 's/^[[:space:]]*[0-9]* - \([^ ]*\) .*/\1/p' "$log/$name.txt" | sort -u | paste -sd, -)
    echo "caught   $name (by ${by:-the suite})"; caught=$((caught + 1))
  fi
  patch -R -p1 -d "$src" -s -f <"$patch" >/dev/null
done
# Leave the copy built as it is, so that no object of the last fault outlives it.
cmake --build "$build" -j"$jobs" >"$log/build.txt" 2>&1 || true
summary="$caught caught, $missed missed"
[ "$broken" -eq 0 ] || summary+=", $broken not applicable"
echo "$summary"
[ "$missed" -eq 0 ] && [ "$broken" -eq 0 ]
