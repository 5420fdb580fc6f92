#!/usr/bin/env bash
# Installs the Debian 12 packages Orbistat needs to build, run, test and
# package, skipping those already present. Needs root (or sudo) only when
# something is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config ccache git file
  qt6-base-dev qt6-base-dev-tools qt6-wayland libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-core fonts-material-design-icons-iconfont
  libnl-genl-3-dev libnl-3-dev
  dbus dbus-daemon
  xvfb libx11-dev appstream desktop-file-utils
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
  if [[ $(id -u) -ne 0 ]]; then
    if ! command -v sudo >/dev/null 2>&1; then
      cat >&2 <<MESSAGE
setup: these Debian packages are missing and installing them needs root:
  ${missing[*]}
sudo is not installed. Either run this script as root (su -, then
bash scripts/setup.sh), or install sudo as root and add yourself to the sudo
group (apt-get install sudo; adduser $(id -un) sudo; then log in again).
MESSAGE
      exit 1
    fi
    sudo_cmd=(sudo)
  fi
  # The first set-up downloads about 250 packages: show apt's progress.
  "${sudo_cmd[@]}" apt-get update
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
