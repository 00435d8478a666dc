#!/usr/bin/env bash
# Installs, with apt-get, the Debian packages the build needs that are missing.
set -euo pipefail

# clang with its runtime libraries (libFuzzer, sanitizers) builds the fuzz
# programs and the clang preset.
packages=(cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev libgmock-dev
          libbenchmark-dev libpng-dev libdeflate-dev libglm-dev libeigen3-dev libyuv-dev)
# The install check builds an example with pkg-config.
packages+=(pkg-config)
# The host program's tests read its pictures with an XML parser.
packages+=(libtinyxml2-dev)
missing=()
for pkg in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
