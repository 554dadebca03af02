#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) with clang, AddressSanitizer and UndefinedBehaviorSanitizer in
# build-fuzz, seeds them from the fake Jira's sample team, and runs each for a set time.
#
#   scripts/fuzz.sh [seconds per target, default 60] [target...]
#
# Fails when a target crashes, leaks, hangs (over 10 s for one input) or reports undefined behaviour;
# the input that did it is left in build-fuzz/findings/. Each target's corpus grows in
# build-fuzz/corpus/<target> from one run to the next.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_search fuzz_transitions fuzz_comments fuzz_user fuzz_html)
dir=build-fuzz
jobs=${JOBS:-2}

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS="$flags" \
  -DTESSARIN_FUZZ=ON -DTESSARIN_BUILD_TESTS=OFF -DTESSARIN_BUILD_BENCH=OFF -DTESSARIN_WERROR=OFF \
  >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; exit 1; }
cmake --build "$dir" -j"$jobs" --target "${targets[@]}"

# Seeds: the answers the fake Jira gives for its sample team, and every piece of rendered HTML in it.
python3 - "$dir/seeds" tools/fake-jira/data/sample.json <<'PY'
import json, os, sys
out, sample = sys.argv[1], json.load(open(sys.argv[2]))
def put(target, name, value):
    os.makedirs(os.path.join(out, target), exist_ok=True)
    data = value if isinstance(value, bytes) else json.dumps(value, separators=(",", ":")).encode()
    open(os.path.join(out, target, name), "wb").write(data)
issues = sample["issues"]
put("fuzz_search", "all", {"startAt": 0, "maxResults": 100, "total": len(issues), "issues": issues})
put("fuzz_search", "empty", {"startAt": 0, "maxResults": 100, "total": 0, "issues": []})
for i, issue in enumerate(issues):
    put("fuzz_search", "issue-%d" % i, {"issues": [issue]})
    html = (issue.get("renderedFields") or {}).get("description")
    if html:
        put("fuzz_html", "description-%d" % i, html.encode())
statuses = sample["statuses"]
transitions = [{"id": t["id"], "name": t["name"], "to": statuses.get(t["to"], {})} for t in sample["transitions"]]
put("fuzz_transitions", "all", {"expand": "transitions", "transitions": transitions})
put("fuzz_transitions", "empty", {"transitions": []})
for key, comments in sample["comments"].items():
    put("fuzz_comments", key, {"startAt": 0, "maxResults": len(comments), "total": len(comments), "comments": comments})
    for j, comment in enumerate(comments):
        if comment.get("renderedBody"):
            put("fuzz_html", "comment-%s-%d" % (key, j), comment["renderedBody"].encode())
put("fuzz_user", "myself", sample["myself"])
put("fuzz_html", "nested-tables", b"<table><tr><td>" * 8 + b"x" + b"</td></tr></table>" * 8)
PY

status=0
mkdir -p "$dir/findings"
for target in "${targets[@]}"; do
  corpus="$dir/corpus/$target"
  mkdir -p "$corpus"
  log="$dir/$target.log"
  dict=fuzz/json.dict
  [ "$target" != fuzz_html ] || dict=fuzz/html.dict
  echo "== $target: ${seconds}s"
  # Fontconfig's caches, held until exit, are not ours to free.
  if ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    LSAN_OPTIONS=suppressions=$PWD/fuzz/lsan.supp:print_suppressions=0 \
    "$dir/fuzz/$target" "$corpus" "$dir/seeds/$target" -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=4096 -max_len=65536 -dict="$dict" -print_final_stats=1 -artifact_prefix="$dir/findings/$target-" \
      >"$log" 2>&1; then
    :
  else
    status=1
    echo "== $target: FAILED, see $log" >&2
  fi
  grep -E '^#[0-9]+ *DONE|stat::number_of_executed_units|stat::peak_rss_mb|ERROR:|SUMMARY:' "$log" || true
  echo "   corpus: $(ls "$corpus" | wc -l) inputs"
done
exit $status
