#!/usr/bin/env bash
# The whole-application figures, inside a sealed session on an X display (scripts/bench.sh runs it under
# Xvfb and scripts/test-session.sh): start-up and peak memory beside a minimal Qt Quick window, refresh
# beside curl, and a minute of idling. Writes raw figures, one per line, into OUT.
#
#   bench/app/session.sh BUILD_DIR OUT_DIR RUNS IDLE_SECONDS
set -euo pipefail
build=$1 out=$2 runs=$3 idle=$4
app="$build/src/app/tessarin"
floor="$build/bench/app/bench_first_frame"
launch="$build/bench/app/bench_launch"

source "$(dirname "${BASH_SOURCE[0]}")/bench-jira.sh"
echo "bench: fake Jira at $url" >&2

# Start-up and memory: the app and the floor alternate, so both see the same load.
# Lines: "<milestone> <ms> <VmHWM kB>".
export QT_QPA_PLATFORM=xcb
warm() { # one unmeasured run of each, so both start with the same warm file cache
  QT_QUICK_BACKEND=$1 TESSARIN_BENCH_MILESTONE=first-list "$launch" -- "$app" >/dev/null
  QT_QUICK_BACKEND=$1 "$launch" -- "$floor" >/dev/null
}
for backend in software default; do
  qsg=$backend; [ "$backend" = default ] && qsg=""
  echo "bench: start-up, $backend scene graph, $runs runs each" >&2
  warm "$qsg"
  : >"$out/startup-app-$backend" ; : >"$out/startup-floor-$backend" ; : >"$out/detail-app-$backend"
  : >"$out/startup-cached-$backend" ; : >"$out/steps-fresh-$backend" ; : >"$out/steps-cached-$backend"
  for _ in $(seq "$runs"); do
    # No list kept on disk: the server's answer is the first list. That run keeps it for the next.
    rm -f "$XDG_CACHE_HOME/Tessarin/list"
    QT_QUICK_BACKEND=$qsg TESSARIN_BENCH_MILESTONE=fresh-list "$launch" -- "$app" >>"$out/startup-app-$backend" \
      2>>"$out/steps-fresh-$backend"
    QT_QUICK_BACKEND=$qsg TESSARIN_BENCH_MILESTONE=first-list "$launch" -- "$app" >>"$out/startup-cached-$backend" \
      2>>"$out/steps-cached-$backend"
    QT_QUICK_BACKEND=$qsg "$launch" -- "$floor" >>"$out/startup-floor-$backend"
    QT_QUICK_BACKEND=$qsg TESSARIN_BENCH_MILESTONE=detail "$launch" -- "$app" >>"$out/detail-app-$backend"
  done
done

# Refresh: the store in-process against fake-jira, beside curl fetching the same search.
echo "bench: refresh" >&2
# The URL as the app's client spells it (spaces and "=" percent-encoded, commas kept).
search_url="$url/rest/api/2/search?jql=assignee%20%3D%20currentUser()%20AND%20resolution%20%3D%20Unresolved%20ORDER%20BY%20updated%20DESC&maxResults=100&fields=summary,status,priority,issuetype,updated,duedate,assignee,description,project&expand=renderedFields"
# curl fetches the search 100 times over one kept-alive connection, as the app's client does.
search_curl() {
  local args=()
  for _ in $(seq 100); do args+=(-o /dev/null "$search_url"); done
  curl -s -g -w '%{http_code} %{time_total} %{size_download}\n' \
    -H "Authorization: Bearer $token" -H "Accept: application/json" "${args[@]}"
}
search_curl >"$out/curl"
"$build/bench/app/bench_refresh" "$url" "$token" 200 >"$out/refresh"
search_curl >>"$out/curl"

# The detail pane's comments: what one read of the property costs.
QT_QPA_PLATFORM=offscreen "$build/bench/app/bench_detail" "$out/data.json" >"$out/detail-comments"
# Both benchmarks above stored their own token in the keyring: put the app's back.
printf '%s' "$token" | secret-tool store --label="Tessarin bench" server org.tessarin.Tessarin.pat user default type plaintext

# Idle: the list shown (software scene graph), nothing touched, for IDLE seconds; the automatic refresh
# comes only after 120 s. CPU time and context switches of all threads from /proc, and perf's count
# of context switches when perf works here.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# "<thread id> <voluntary + involuntary switches>" for each thread.
switches() {
  local task
  for task in /proc/"$1"/task/*; do
    awk -v t="${task##*/}" '/ctxt_switches/ {n += $2} END {print t, n}' "$task/status" 2>/dev/null || true
  done
}
# Switches made by the threads that lived through the whole interval, how many threads ended, and the
# switches of the main thread (whose id is the process's) alone.
switch_delta() {
  awk -v main="$3" 'NR == FNR {before[$1] = $2; next}
       ($1 in before) {n += $2 - before[$1]; seen[$1] = 1; if ($1 == main) m = $2 - before[$1]}
       END {for (t in before) if (!(t in seen)) gone++; printf "switches=%d ended=%d main=%d", n, gone, m}' "$1" "$2"
}
idle_run() { # name, then the command
  local name=$1; shift
  local said="$XDG_RUNTIME_DIR/idle-$name.out"
  QT_QUICK_BACKEND=software TESSARIN_BENCH_KEEP_RUNNING=1 "$@" >"$said" 2>"$out/idle-$name.stderr" &
  local pid=$!
  for _ in $(seq 600); do grep -q '^tessarin-bench' "$said" && break; sleep 0.1; done
  grep -q '^tessarin-bench' "$said" || { echo "bench: $name showed nothing" >&2; kill "$pid"; return 1; }
  sleep 5 # the detail pane's loads and the first frames settle
  if [ "${name%-minimised}" != "$name" ]; then
    local window
    for window in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do xdotool windowminimize "$window"; done
    sleep 2
  fi
  local threads
  threads=$(ls /proc/"$pid"/task | wc -l)
  local c0 c1
  c0=$(cpu_ticks "$pid"); switches "$pid" >"$out/idle-$name.before"
  if perf stat -e context-switches,task-clock -p "$pid" -o "$out/idle-$name.perf" -- sleep "$idle" 2>/dev/null; then :; else sleep "$idle"; fi
  c1=$(cpu_ticks "$pid"); switches "$pid" >"$out/idle-$name.after"
  if command -v strace >/dev/null; then
    timeout 20 strace -c -f -p "$pid" -o "$out/idle-$name.strace" 2>/dev/null || true
    [ -s "$out/idle-$name.strace" ] || echo "no system calls in 20 s" >"$out/idle-$name.strace"
  fi
  kill "$pid"; wait "$pid" 2>/dev/null || true
  echo "$name seconds=$idle threads=$threads cpu_ms=$(( (c1 - c0) * 1000 / $(getconf CLK_TCK) )) $(switch_delta "$out/idle-$name.before" "$out/idle-$name.after" "$pid")" >>"$out/idle"
}
echo "bench: idle, ${idle}s each" >&2
: >"$out/idle"
# No automatic refresh within the idle runs: what is left is the window's own clock (a tick a minute
# while visible, none while minimised). A window manager, so that a window can be minimised.
printf '[General]\nbaseURL=%s\nrefreshInterval=86400\n' "$url" >"$XDG_CONFIG_HOME/Tessarin/Tessarin.conf"
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
TESSARIN_BENCH_MILESTONE=detail idle_run app "$app"
TESSARIN_BENCH_MILESTONE=detail idle_run app-minimised "$app"
idle_run floor "$floor"
kill $wm 2>/dev/null || true
