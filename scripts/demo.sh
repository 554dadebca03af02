#!/usr/bin/env bash
# Tessarin on its built-in demo: installs what is missing, builds, starts the local fake Jira with its
# sample team, and opens Tessarin on it with a throw-away config and keyring (never your own).
# With no display it runs under Xvfb, waits for the list, writes a screenshot and prints its path.
#
#   scripts/demo.sh [--screenshot FILE]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$(pwd)

shot=""
[ "${1:-}" = "--screenshot" ] && shot=${2:?}

bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >build.configure.log 2>&1 || { cat build.configure.log; exit 1; }
cmake --build build -j"${JOBS:-2}" --target tessarin fake-jira

headless=0
if [ -z "${DISPLAY:-}" ] || [ -n "$shot" ]; then
  headless=1
  [ -n "$shot" ] || shot="$root/demo-screenshot.png"
fi

cat >"$root/build/demo-inner.sh" <<INNER
#!/usr/bin/env bash
# Runs inside the throw-away session: fake Jira, settings, token, then the app.
set -euo pipefail
token=demo-token-\$RANDOM\$RANDOM
"$root/build/tools/fake-jira/fake-jira" --port 0 --token "\$token" >"\$XDG_RUNTIME_DIR/fake-jira.url" &
jira=\$!
trap 'kill \$jira 2>/dev/null || true' EXIT
for _ in \$(seq 100); do [ -s "\$XDG_RUNTIME_DIR/fake-jira.url" ] && break; sleep 0.05; done
url=\$(head -1 "\$XDG_RUNTIME_DIR/fake-jira.url")
mkdir -p "\$XDG_CONFIG_HOME/Tessarin"
printf '[General]\nbaseURL=%s\nrefreshInterval=120\n' "\$url" >"\$XDG_CONFIG_HOME/Tessarin/Tessarin.conf"
printf '%s' "\$token" | secret-tool store --label="Tessarin demo" server org.tessarin.Tessarin.pat user default type plaintext
echo "demo: fake Jira at \$url"
if [ "$headless" = 1 ]; then
  # The app says when the list and the selected issue's comments are painted.
  TESSARIN_BENCH_MILESTONE=detail TESSARIN_BENCH_KEEP_RUNNING=1 \\
    "$root/build/src/app/tessarin" >"\$XDG_RUNTIME_DIR/tessarin.out" &
  app=\$!
  for _ in \$(seq 300); do
    grep -q '^tessarin-bench detail' "\$XDG_RUNTIME_DIR/tessarin.out" 2>/dev/null && break
    kill -0 \$app 2>/dev/null || { echo "demo: tessarin ended early" >&2; exit 1; }
    sleep 0.1
  done
  grep -q '^tessarin-bench detail' "\$XDG_RUNTIME_DIR/tessarin.out" || echo "demo: the list did not appear within 30 s" >&2
  sleep 0.3 # the last frame reaches the X server
  import -window root "$shot"
  kill \$app 2>/dev/null || true
  wait \$app 2>/dev/null || true
  echo "demo: screenshot written to $shot"
else
  "$root/build/src/app/tessarin"
fi
INNER
chmod +x "$root/build/demo-inner.sh"

if [ "$headless" = 1 ]; then
  QT_QPA_PLATFORM=xcb QT_QUICK_BACKEND=software \
    xvfb-run -a -s "-screen 0 1280x800x24" scripts/test-session.sh --keyring -- "$root/build/demo-inner.sh"
else
  QT_QPA_PLATFORM=xcb scripts/test-session.sh --keyring -- "$root/build/demo-inner.sh"
fi
