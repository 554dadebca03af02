#!/usr/bin/env bash
# Builds and runs every benchmark, then prints one table of the figures with their goals. The
# whole-application figures run under Xvfb in a sealed session against fake-jira with 100 issues.
#
#   scripts/bench.sh [--runs N] [--idle SECONDS]
# Environment: BUILD_DIR (default build), JOBS (default 2). Raw figures stay in $BUILD_DIR/bench-results.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$(pwd)

runs=10
idle=60
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift 2 ;;
    --idle) idle=$2; shift 2 ;;
    *) echo "usage: $0 [--runs N] [--idle SECONDS]" >&2; exit 2 ;;
  esac
done

bash scripts/setup.sh
build=${BUILD_DIR:-build}
case "$build" in /*) ;; *) build="$root/$build" ;; esac
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSARIN_BUILD_BENCH=ON >"$build.configure.log" 2>&1 ||
  { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j"${JOBS:-2}" --target tessarin fake-jira bench_jira_decoding bench_filtering \
  bench_presentation bench_first_frame bench_launch bench_data bench_refresh bench_detail

out="$build/bench-results"
rm -rf "$out"; mkdir -p "$out"
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
echo "bench: $(nproc) cores, load average $load_before" >&2

"$build/bench/client/bench_jira_decoding" >"$out/decoding"
"$build/bench/store/bench_filtering" >"$out/filtering"
QT_QPA_PLATFORM=offscreen "$build/bench/presentation/bench_presentation" >"$out/presentation"

QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24" \
  scripts/test-session.sh --keyring -- "$root/bench/app/session.sh" "$build" "$out" "$runs" "$idle"
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# Column N of a file's lines: median, then "min–max".
median() { awk -v c="$2" '{print $c}' "$1" | sort -g | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
spread() { awk -v c="$2" '{print $c}' "$1" | sort -g | awk 'NR==1 {lo=$1} {hi=$1} END {printf "%s–%s", lo, hi}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
minus() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a - b}'; }
mb() { awk -v k="$1" 'BEGIN {printf "%.1f", k / 1024}'; }
field() { sed -n "s/.*$2 *\([0-9.]*\) *$3.*/\1/p" "$1" | head -1; }

row() { printf '| %s | %s | %s | %s | %s |\n' "$@"; }
echo
row "Figure" "Measured" "Goal" "Ratio" "Peer / floor"
row "---" "---" "---" "---" "---"

for backend in software default; do
  a="$out/startup-app-$backend" f="$out/startup-floor-$backend" d="$out/detail-app-$backend"
  am=$(median "$a" 2) fm=$(median "$f" 2)
  label="software scene graph"; [ "$backend" = default ] && label="default (OpenGL, llvmpipe)"
  cm=$(median "$out/startup-cached-$backend" 2)
  row "Start-up to the list kept on disk painted, $label" "$cm ms (median of $runs, $(spread "$out/startup-cached-$backend" 2))" \
    "≤ 1.3 × floor" "$(ratio "$cm" "$fm") ×" "minimal window first frame $fm ms ($(spread "$f" 2))"
  row "Start-up to the server's list painted, nothing on disk, $label" "$am ms (median of $runs, $(spread "$a" 2))" \
    "≤ 1.8 × floor" "$(ratio "$am" "$fm") ×" "same"
  for kind in cached fresh; do # each step's median, milliseconds since the fork
    steps=$(for step in main application instance settings qml frame; do
      printf '%s %s; ' "$step" "$(awk -v s="$step" '$1 == "step" && $2 == s {print $3}' "$out/steps-$kind-$backend" |
        sort -g | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}')"
    done)
    row "Start-up steps, $kind list, $label (ms since the fork, medians)" "$steps" "—" "—" "—"
  done
  dm=$(median "$d" 3) ff=$(median "$f" 3)
  row "Peak RSS, 100 issues + 50-comment detail, $label" "$(mb "$dm") MB" "≤ floor + 20 MB" \
    "floor + $(mb "$((${dm%.*} - ${ff%.*}))") MB" "minimal window $(mb "$ff") MB"
done

cm=$(awk '$1 == 200 {print $2 * 1000}' "$out/curl" | sort -g | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}')
bad=$(awk '$1 != 200' "$out/curl" | wc -l)
rm_=$(sed -n 's/^refresh-median-ms //p' "$out/refresh")
row "Refresh, request to updated list model, 100 issues" "$rm_ ms (median of 200)" "≤ fetch + 5 ms" \
  "app − curl = $(minus "$rm_" "$cm") ms" "curl, same request, kept-alive connection: $cm ms (median of $(wc -l <"$out/curl"), $bad failed)"

dc=$(sed -n 's/^detail-comments-read-ms //p' "$out/detail-comments")
row "Detail pane, one read of the 50 comments (HTML to rich text)" "$dc ms" "no fixed goal" "—" "read 3 times as the pane loads"

while read -r name secs threads cpu sw ended mainsw; do
  perf_cs=$(awk '/context-switches/ {print ($1 == "<not" ? 0 : $1)}' "$out/idle-$name.perf" 2>/dev/null)
  calls=$(awk '$NF == "total" {print $4; found = 1} END {if (!found) print 0}' "$out/idle-$name.strace" 2>/dev/null)
  row "Idle ${secs#seconds=} s, list + detail shown: $name" \
    "${cpu#cpu_ms=} ms CPU; ${sw#switches=} context switches, ${mainsw#main=} on the main thread (perf: ${perf_cs:-n/a}); ${ended#ended=} threads ended" \
    "at most a tick a minute visible, none minimised" "—" "${threads#threads=} threads; system calls in a further 20 s: ${calls:-n/a}"
done <"$out/idle"

parse=$(field "$out/decoding" "bare JSON parse :" "us") decode=$(field "$out/decoding" "strict decoding :" "us")
row "Decoding a 100-issue search answer" "$decode µs" "≤ 1.5 × bare parse" "$(ratio "$decode" "$parse") ×" "QJsonDocument parse: $parse µs"
key=$(field "$out/filtering" "total per keystroke:" "us")
row "Filter + search + list model, per keystroke, 100 issues" "$key µs" "well under a 16.7 ms frame" "$(ratio "$key" 16700) of a frame" "—"
rel=$(field "$out/presentation" "relativeTimeString, 100 rows:" "us per list")
row "Relative time phrases for 100 rows" "$rel µs" "well under a 16.7 ms frame" "$(ratio "$rel" 16700) of a frame" "—"
html=$(field "$out/presentation" "attributedFromHTML, [0-9]* KB of HTML:" "ms per")
row "HTML to rich text, 200 KB description" "$html ms" "no fixed goal" "—" "—"
echo
echo "Machine: $(nproc) cores; load average before: $load_before, after: $load_after. Raw figures in $out"
