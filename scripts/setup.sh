#!/usr/bin/env bash
# Installs the Debian 12 packages Orbistat needs to build, run and test,
# skipping those already present. Needs root (or sudo) only when something
# is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config ccache git
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-core fonts-material-design-icons-iconfont
  libnl-genl-3-dev libnl-3-dev
  dbus dbus-daemon
  desktop-file-utils
  clang libclang-rt-14-dev
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}" >&2
  sudo_cmd=()
  if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
