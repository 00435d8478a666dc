#!/usr/bin/env bash
# Installs Debian's Chromium, which the test of the pictures' index reads the
# page with, when it is missing. Where it cannot be installed, says so; the
# test is then skipped, with the reason.
set -uo pipefail
command -v chromium >/dev/null 2>&1 && exit 0
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
echo "installing: chromium (to read the pictures' index in a browser)"
if ! { $sudo_cmd apt-get update -qq &&
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq chromium; } >/dev/null 2>&1; then
  echo "could not install chromium: the browser test will be skipped"
fi
exit 0
