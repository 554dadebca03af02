#!/usr/bin/env bash
# Installs, from Debian's packages, everything Tessarin needs to build, run, test and benchmark.
# Quiet and quick when everything is already there.
set -euo pipefail

packages=(
  # build
  cmake ninja-build ccache g++ clang libclang-rt-14-dev pkg-config clang-format
  qt6-base-dev qt6-declarative-dev qt6-httpserver-dev qt6-websockets-dev libxkbcommon-dev
  qtkeychain-qt6-dev libsecret-1-0 libicu-dev libgl-dev
  # the catalogues: lupdate and lrelease; Qt's own words in the user's language
  qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
  # the system's certificate authorities, which a CA file in the settings adds to
  ca-certificates
  # run (Qt Quick, Controls, icons)
  qml6-module-qtqml qml6-module-qtqml-models qml6-module-qtquick qml6-module-qtquick-controls qml6-module-qtquick-layouts
  qml6-module-qtquick-templates qml6-module-qtquick-window qml6-module-qtqml-workerscript
  qml6-module-qtquick-dialogs qml6-module-qt-labs-folderlistmodel qml6-module-qttest qt6-qpa-plugins libqt6svg6
  breeze-icon-theme
  # test session: display, session bus, real Secret Service
  xvfb xauth dbus dbus-x11 gnome-keyring libsecret-tools imagemagick curl
  # benchmarks and hands-on checks under Xvfb: a window manager to minimise with, input, the a11y tree
  openbox xdotool python3-pyatspi at-spi2-core
  # network tests: a real HTTP proxy and a real SOCKS5 proxy on loopback
  tinyproxy microsocks
  # the test session's clean-up finds the keyring daemon it started
  procps
  # the Debian package: dpkg-shlibdeps finds its library dependencies (cpack asks `file` which files
  # are programs); its metadata and manual page are checked by their own validators
  dpkg-dev file desktop-file-utils appstream man-db
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "setup: these packages are missing and installing them needs root" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
