#!/usr/bin/env bash
# The Debian package on a machine that has nothing else: a minimal Debian 12 tree made with debootstrap
# from this machine's own Debian mirror, the package installed into it with apt-get (its dependencies,
# nothing more), then the program run there, offscreen, on a private session bus with a keyring and
# the fake Jira (both run from outside the tree): --version, icon mode, and the window tour (the main
# window with its list, the settings window, every dialog in it, the network window, the about
# window). Any QML or plugin warning fails it. Run before a release; needs root. Not part of CI.
#
#   scripts/check-clean-system.sh [--deb FILE] [--keep DIR]
#     --deb FILE  the package to check (default: made from build/ with cpack)
#     --keep DIR  make the tree in DIR and leave it there (a second run reuses it, skipping debootstrap)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$(pwd)
deb="" keep=""
while [ $# -gt 0 ]; do
  case "$1" in
    --deb) deb=$(realpath "$2"); shift 2 ;;
    --keep) keep=$2; shift 2 ;;
    *) echo "usage: $0 [--deb FILE] [--keep DIR]" >&2; exit 2 ;;
  esac
done
[ "$(id -u)" -eq 0 ] || { echo "check: debootstrap and chroot need root" >&2; exit 1; }
started=$(date +%s)
step() { echo "== $(($(date +%s) - started)) s: $*"; }

bash scripts/setup.sh
command -v debootstrap >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null

if [ -z "$deb" ]; then
  step "building the package from build/"
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >build.configure.log 2>&1 || { cat build.configure.log; exit 1; }
  cmake --build build -j"${JOBS:-2}" --target tessarin tessarin_icons tessarin_manual
  (cd build && cpack -G DEB >cpack.log 2>&1) || { cat build/cpack.log; exit 1; }
  deb=$(ls -t build/tessarin_*.deb | head -1)
  deb=$(realpath "$deb")
fi
cmake --build build -j"${JOBS:-2}" --target fake-jira >/dev/null # the check's Jira runs from this build

# This machine's own Debian mirror, as its apt sources name it (deb822 or one-line format).
mirror=$(grep -hE '^URIs:.*/debian/?$' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -1 | awk '{print $2}')
[ -n "$mirror" ] || mirror=$(grep -hE '^deb +[^ ]+/debian/? ' /etc/apt/sources.list 2>/dev/null | head -1 | awk '{print $2}')
[ -n "$mirror" ] || { echo "check: no Debian mirror found in /etc/apt/sources.list*" >&2; exit 1; }

tree=${keep:-$(mktemp -d "${TMPDIR:-/tmp}/tessarin-clean.XXXXXX")}
mounted=()
cleanup() {
  local m
  for m in "${mounted[@]}"; do umount -l "$m" 2>/dev/null || true; done
  [ -n "$keep" ] || rm -rf --one-file-system "$tree"
}
trap cleanup EXIT
mountin() { mkdir -p "$tree$2"; mount --bind "$1" "$tree$2"; mounted=("$tree$2" "${mounted[@]}"); }

if [ ! -x "$tree/usr/bin/apt-get" ]; then
  step "a minimal Debian 12 tree from $mirror"
  debootstrap --variant=minbase bookworm "$tree" "$mirror" >"$tree.debootstrap.log" 2>&1 ||
    { tail -20 "$tree.debootstrap.log"; exit 1; }
  rm -f "$tree.debootstrap.log"
fi
# The same suites as this machine (updates and security too), so the versions match what it built with.
cp /etc/apt/sources.list.d/debian.sources "$tree/etc/apt/sources.list.d/" 2>/dev/null && rm -f "$tree/etc/apt/sources.list"
mountin /proc /proc
mountin /dev /dev

step "installing $(basename "$deb") and its dependencies, nothing else"
cp "$deb" "$tree/tmp/"
chroot "$tree" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive \
  sh -c "apt-get update -qq && apt-get install -y -qq --no-install-recommends ./tmp/$(basename "$deb")" \
  >"$tree/tmp/install.log" 2>&1 || { tail -30 "$tree/tmp/install.log"; exit 1; }
grep -oE '^(Setting up|Unpacking) [^ ]+' "$tree/tmp/install.log" | awk '$1 == "Setting" {print $3}' | sort |
  tr '\n' ' ' | fold -s -w 100 | sed '1s/^/installed: /; 2,$s/^/           /'
echo
step "installed"

# Inside a private session (bus, keyring) made on this machine: the bus's socket is bound into the tree.
cat >"$tree.inner.sh" <<INNER
#!/usr/bin/env bash
set -euo pipefail
fail=0
inside() { chroot "$tree" /usr/bin/env -i PATH=/usr/bin:/bin HOME=/root XDG_RUNTIME_DIR=/run/user/0 \
  DBUS_SESSION_BUS_ADDRESS=unix:path=/run/user/0/bus QT_QPA_PLATFORM=offscreen "\$@"; }
socket=\${DBUS_SESSION_BUS_ADDRESS#unix:path=}; socket=\${socket%%,*}
mkdir -p "$tree/run/user/0" && chmod 700 "$tree/run/user/0" && touch "$tree/run/user/0/bus"
mount --bind "\$socket" "$tree/run/user/0/bus"
trap 'umount -l "$tree/run/user/0/bus"; kill \$jira 2>/dev/null || true' EXIT

token=check-token-\$RANDOM\$RANDOM
"$root/build/tools/fake-jira/fake-jira" --port 0 --token "\$token" >"\$XDG_RUNTIME_DIR/fake-jira.url" &
jira=\$!
for _ in \$(seq 100); do [ -s "\$XDG_RUNTIME_DIR/fake-jira.url" ] && break; sleep 0.05; done
mkdir -p "$tree/root/.config/Tessarin"
printf '[General]\nbaseURL=%s\n' "\$(head -1 "\$XDG_RUNTIME_DIR/fake-jira.url")" >"$tree/root/.config/Tessarin/Tessarin.conf"
printf '%s' "\$token" | secret-tool store --label="Tessarin check" server org.tessarin.Tessarin.pat user default type plaintext

echo "-- tessarin --version"
inside tessarin --version || fail=1
echo "-- icon mode"
rm -f "$tree/tmp/icon.png"
inside env TESSARIN_MAKE_ICON=/tmp/icon.png tessarin || fail=1
[ "\$(identify -format '%m %wx%h' "$tree/tmp/icon.png" 2>/dev/null)" = "PNG 1024x1024" ] && echo "icon: a 1024x1024 PNG" ||
  { echo "icon: not written"; fail=1; }
echo "-- the window tour"
inside env TESSARIN_WINDOW_TOUR=1 timeout 120 tessarin || fail=1
exit \$fail
INNER
chmod +x "$tree.inner.sh"
status=0
scripts/test-session.sh --keyring -- "$tree.inner.sh" || status=$?
rm -f "$tree.inner.sh"
step "done"
if [ "$status" -eq 0 ]; then echo "check: the package works on a clean system"; else echo "check: FAILED" >&2; fi
exit "$status"
