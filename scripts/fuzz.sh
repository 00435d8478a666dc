#!/usr/bin/env bash
# Builds the libFuzzer programs (fuzz preset, clang) and runs each for a given
# time. usage: scripts/fuzz.sh [SECONDS] [PROGRAM...]
#   SECONDS   time per program (default 30)
#   PROGRAM   names of the programs to run (default: every fuzz/**/*_fuzz.cpp)
# Each program starts from its seeds, fuzz/<folder>/<name>_corpus/, and keeps
# what it finds in build/fuzz/corpora/<name>/; a crash, a leak report or a
# sanitizer finding is written to build/fuzz/findings/<name>/ and fails the
# script once every program has run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
seconds="${1:-30}"
shift || true
scripts/ensure-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j 2

programs=()
if (($#)); then
  programs=("$@")
else
  while IFS= read -r source; do
    programs+=("$(basename "$source" .cpp)")
  done < <(find fuzz -name '*_fuzz.cpp' | sort)
fi

failed=()
for program in "${programs[@]}"; do
  source="$(find fuzz -name "$program.cpp" | head -n 1)"
  if [[ -z "$source" ]]; then
    echo "no fuzz program $program" >&2
    exit 2
  fi
  folder="$(dirname "$source")"
  name="${program%_fuzz}"
  binary="build/fuzz/$folder/$program"
  corpus="build/fuzz/corpora/$program"
  findings="build/fuzz/findings/$program"
  mkdir -p "$corpus" "$findings"
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
           -artifact_prefix="$findings/")
  [[ -f "$folder/$name.dict" ]] && options+=(-dict="$folder/$name.dict")
  echo "== $program: $seconds s"
  if ! "$binary" "${options[@]}" "$corpus" "$folder/${name}_corpus" 2>"$findings/log"; then
    tail -n 40 "$findings/log" >&2
    failed+=("$program")
  else
    grep -E '^stat::(number_of_executed_units|new_units_added)' "$findings/log" || true
  fi
done

if ((${#failed[@]})); then
  echo "fuzzing found problems in: ${failed[*]} (see build/fuzz/findings/)" >&2
  exit 1
fi
echo "fuzzing: no problems in ${#programs[@]} programs"
