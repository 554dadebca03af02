#!/usr/bin/env bash
# Start-up and peak memory of several builds of the program beside the floor, runs interleaved (one of
# each, then again), so that all see the same load: for measuring what one change saves. Runs inside a
# sealed session on an X display, like session.sh:
#
#   QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24" scripts/test-session.sh --keyring -- \
#     bench/app/compare.sh BUILD_DIR RUNS MILESTONE BACKEND PROGRAM...
#
# BUILD_DIR supplies fake-jira, the data and the floor; MILESTONE is first-list, fresh-list or detail;
# BACKEND is software or "" (the default scene graph). A PROGRAM may be a script that sets variables and
# execs the program, to compare settings. Prints one line per program and the floor: median ms, ratio to
# the floor, median peak RSS.
set -euo pipefail
build=$1 runs=$2 milestone=$3 backend=$4
shift 4
out=$(mktemp -d)
source "$(dirname "${BASH_SOURCE[0]}")/bench-jira.sh"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-xcb} QT_QUICK_BACKEND=$backend
launch=$build/bench/app/bench_launch floor=$build/bench/app/bench_first_frame
# One unmeasured run of each, so that all start with the same warm file cache.
for program in "$@"; do TESSARIN_BENCH_MILESTONE=first-list "$launch" -- "$program" >/dev/null 2>&1; done
"$launch" -- "$floor" >/dev/null 2>&1
for _ in $(seq "$runs"); do
  n=0
  for program in "$@"; do
    n=$((n + 1))
    [ "$milestone" = fresh-list ] && rm -f "$XDG_CACHE_HOME/Tessarin/list"
    TESSARIN_BENCH_MILESTONE=$milestone "$launch" -- "$program" 2>/dev/null | awk -v n=$n '{print n, $2, $3}' >>"$out/figures"
  done
  "$launch" -- "$floor" 2>/dev/null | awk '{print "floor", $2, $3}' >>"$out/figures"
done
names=("$@")
awk -v list="${names[*]}" '
  { ms[$1] = ms[$1] " " $2; kb[$1] = kb[$1] " " $3 }
  function median(values,    a, n, i, j, t) {
    n = split(values, a, " ")
    for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (a[j] + 0 < a[i] + 0) { t = a[i]; a[i] = a[j]; a[j] = t }
    return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
  }
  END {
    split(list, name, " ")
    floorMs = median(ms["floor"]); floorKb = median(kb["floor"])
    for (k in ms) {
      label = k == "floor" ? "floor" : name[k]
      printf "%s: %.1f ms, %.2f x floor; peak %.1f MB, floor + %.1f MB\n", label, median(ms[k]), median(ms[k]) / floorMs,
             median(kb[k]) / 1024, (median(kb[k]) - floorKb) / 1024
    }
  }' "$out/figures" | sort
