#!/usr/bin/env bash
# Installs the Debian packages Scrivlet needs to build, test, benchmark and fuzz.
# When every package is already installed it does nothing: no apt-get, no root.
set -euo pipefail

# One package per line; a comment says why when the name does not.
packages=(
  cmake
  ninja-build
  g++
  make
  qt6-base-dev
  libgl-dev              # Qt6Gui's CMake package requires the OpenGL headers
  googletest
  libgtest-dev
  libgmock-dev
  libbenchmark-dev
  clang
  libclang-rt-14-dev     # libFuzzer and sanitizer runtimes for clang 14
  fonts-ipafont-gothic   # a Japanese monospace font for the editor
  xvfb                   # xvfb-run: start the program without a display
  xauth
  xdotool                # end-to-end tests: real key and mouse events
  ibus                   # end-to-end tests: a real Japanese input method
  ibus-mozc
  dbus-x11               # the session bus ibus runs on
  desktop-file-utils     # desktop-file-validate for the installed desktop entry
  texlive-lang-japanese  # the real typesetter: pLaTeX, jsclasses, dvipdfmx
)

# Prints the packages among the arguments that are not installed, one a line.
not_installed() {
  local installed
  installed=$(dpkg-query -W -f='${Package} ${db:Status-Status}\n' "$@" 2>/dev/null |
              awk '$2 == "installed" { print $1 }' || true)
  local p
  for p in "$@"; do
    grep -qxF "$p" <<<"$installed" || echo "$p"
  done
}

mapfile -t missing < <(not_installed "${packages[@]}")
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null; then
  as_root=(sudo)
else
  echo "setup: missing packages (${missing[*]}) and no sudo to install them" >&2
  exit 1
fi

# Another apt-get or dpkg may be running (an unattended upgrade, a second
# terminal): wait for it rather than fail on its lock.
wait_for_apt() {
  local waited=0
  while pgrep -x apt-get >/dev/null || pgrep -x apt >/dev/null || pgrep -x dpkg >/dev/null; do
    [ $waited -eq 0 ] && echo "setup: waiting for another apt-get/dpkg to finish"
    sleep 5
    waited=$((waited + 5))
    if [ $waited -ge 1800 ]; then
      echo "setup: apt-get/dpkg still busy after 30 minutes" >&2
      return 1
    fi
  done
}

apt_get() {
  wait_for_apt
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get -o DPkg::Lock::Timeout=600 "$@" </dev/null
}

apt_get update -q
# The packages may have arrived while we waited for the lock.
mapfile -t still < <(not_installed "${missing[@]}")
if [ ${#still[@]} -gt 0 ]; then
  apt_get install -y -q --no-install-recommends "${still[@]}"
fi

mapfile -t still < <(not_installed "${packages[@]}")
if [ ${#still[@]} -gt 0 ]; then
  echo "setup: still not installed: ${still[*]}" >&2
  exit 1
fi
echo "setup: all packages installed"
