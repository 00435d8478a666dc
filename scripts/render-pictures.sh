#!/usr/bin/env bash
# Draws the pictures of the built-in scenario and of every scenario in
# docs/scenarios/, and renders each picture to PNG with rsvg-convert
# (Debian's librsvg2-bin, installed when missing), so a person can look at
# them without a browser.
#
#   scripts/render-pictures.sh [OUT_DIR]     (default: build/pictures)
#
# OUT_DIR/built-in/ and OUT_DIR/<scenario>/ each hold the SVG pictures, their
# PNG renderings and index.html. OUT_DIR is taken relative to the folder the
# script is run from.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$(mkdir -p "${1:-$root/build/pictures}" && cd "${1:-$root/build/pictures}" && pwd)"

if ! command -v rsvg-convert >/dev/null; then
  echo "installing: librsvg2-bin"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq librsvg2-bin
fi

# Draws one scenario (none: the built-in one) into OUT_DIR/NAME and renders it.
render() {
  local name="$1"
  shift
  rm -rf "${out:?}/$name"
  "$root/scripts/run.sh" --svg "$out/$name" "$@" >"$out/$name.report.txt"
  for svg in "$out/$name"/*.svg; do
    rsvg-convert --background-color=white "$svg" -o "${svg%.svg}.png"
  done
  echo "$out/$name: $(ls "$out/$name"/*.png | wc -l) pictures, report in $out/$name.report.txt"
}

render built-in
for scenario in "$root"/docs/scenarios/*.txt; do
  render "$(basename "$scenario" .txt)" "$scenario"
done
