# Sourced by the whole-application benchmarks inside their sealed session, with $build and $out set:
# starts fake-jira with 100 open issues (the newest with 50 comments), points the session's settings at
# it and puts its token in the session's keyring. Sets $url and $jira (the server's process, ended on
# exit).
"$build/bench/app/bench_data" "$out/data.json"
token=bench-token-$RANDOM$RANDOM
"$build/tools/fake-jira/fake-jira" --port 0 --token "$token" --data "$out/data.json" >"$out/fake-jira.url" &
jira=$!
trap 'kill $jira 2>/dev/null || true' EXIT
for _ in $(seq 200); do [ -s "$out/fake-jira.url" ] && break; sleep 0.05; done
url=$(head -1 "$out/fake-jira.url")
mkdir -p "$XDG_CONFIG_HOME/Tessarin"
printf '[General]\nbaseURL=%s\nrefreshInterval=120\n' "$url" >"$XDG_CONFIG_HOME/Tessarin/Tessarin.conf"
printf '%s' "$token" | secret-tool store --label="Tessarin bench" server org.tessarin.Tessarin.pat user default type plaintext
