#!/usr/bin/env bash
# Runs a command in a sealed desktop session: a throw-away HOME and XDG folders, a private D-Bus
# session bus and, unless asked otherwise, an unlocked gnome-keyring as the Secret Service. Nothing
# run inside can reach the user's own settings or keyring.
#
#   test-session.sh [--keyring | --no-keyring | --no-bus] [--keep DIR] -- command [args...]
#     --keyring     private bus with gnome-keyring unlocked (default)
#     --no-keyring  private bus on which no keyring service exists or can be started
#     --no-bus      no session bus at all
set -euo pipefail

mode=keyring
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
while [ $# -gt 0 ]; do
  case "$1" in
    --keyring) mode=keyring; shift ;;
    --no-keyring) mode=no-keyring; shift ;;
    --no-bus) mode=no-bus; shift ;;
    --inner) mode=inner-$2; shift 2 ;;
    --) shift; break ;;
    *) break ;;
  esac
done
[ $# -gt 0 ] || { echo "usage: $0 [--keyring|--no-keyring|--no-bus] -- command..." >&2; exit 2; }

case "$mode" in
  inner-keyring)
    # A login keyring created unlocked with a throw-away password becomes the default collection.
    eval "$(printf 'tessarin-test' | gnome-keyring-daemon --unlock --components=secrets 2>/dev/null)"
    export GNOME_KEYRING_CONTROL
    exec "$@"
    ;;
  inner-*) exec "$@" ;;
esac

root=$(mktemp -d "${TMPDIR:-/tmp}/tessarin-session.XXXXXX")
cleanup() {
  # gnome-keyring forks itself away from the bus: end whatever still runs in this session.
  local pid
  for pid in $(pgrep -f gnome-keyring-daemon 2>/dev/null); do
    grep -qz "^XDG_RUNTIME_DIR=$root/runtime\$" "/proc/$pid/environ" 2>/dev/null && kill "$pid" 2>/dev/null
  done
  rm -rf "$root"
}
trap cleanup EXIT
mkdir -p "$root"/{home,config,data,cache,runtime}
chmod 700 "$root/runtime"
export HOME="$root/home" XDG_CONFIG_HOME="$root/config" XDG_DATA_HOME="$root/data" \
       XDG_CACHE_HOME="$root/cache" XDG_RUNTIME_DIR="$root/runtime"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" TESSARIN_TEST_SESSION=1
# A sanitized build reports the same way whether ctest or a developer starts it (others ignore these).
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1:fast_unwind_on_malloc=0}" \
       UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}" \
       LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$here/../tests/data/lsan.supp:print_suppressions=0}"
unset DBUS_SESSION_BUS_ADDRESS GNOME_KEYRING_CONTROL SSH_AUTH_SOCK

case "$mode" in
  keyring) dbus-run-session -- "$here/test-session.sh" --inner keyring -- "$@" ;;
  no-keyring) dbus-run-session --config-file="$here/../tests/data/bare-session.conf" -- "$@" ;;
  no-bus)
    # Point at a bus that is not there, so Qt does not start one of its own either.
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$root/runtime/no-bus"
    unset DISPLAY
    "$@"
    ;;
esac
