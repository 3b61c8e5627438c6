#!/usr/bin/env bash
# Builds the libFuzzer targets (preset fuzz, clang) and runs every one of them for
# GYRENA_FUZZ_SECONDS (default 30) on a scratch copy of its seed corpus, so the committed corpus
# never changes. Any crash, leak, sanitizer report or hang fails the stage; the input that
# caused it is kept under build/fuzz/artifacts/.
set -euo pipefail
bash scripts/deps.sh build fuzz
cmake --preset fuzz
cmake --build --preset fuzz

seconds=${GYRENA_FUZZ_SECONDS:-30}
artifacts=build/fuzz/artifacts
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$artifacts"

shopt -s nullglob
targets=(build/fuzz/fuzzers/fuzz_*)
if ((${#targets[@]} == 0)); then
  echo "30-fuzz: no fuzz targets were built" >&2
  exit 1
fi

for target in "${targets[@]}"; do
  [[ -x "$target" && -f "$target" ]] || continue
  name=$(basename "$target")
  corpus="$scratch/$name"
  mkdir -p "$corpus"
  if [[ -d "tests/fuzz/corpus/$name" ]]; then
    cp -R "tests/fuzz/corpus/$name/." "$corpus/"
  fi
  args=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
        -artifact_prefix="$artifacts/$name-")
  if [[ -f "tests/fuzz/$name.dict" ]]; then
    args+=(-dict="tests/fuzz/$name.dict")
  fi
  echo "--- $name: ${seconds}s"
  if ! "$target" "${args[@]}" "$corpus" > "$scratch/$name.log" 2>&1; then
    tail -n 60 "$scratch/$name.log"
    echo "30-fuzz: $name failed; the input is in $artifacts/" >&2
    exit 1
  fi
  grep -E '^(#[0-9]+[[:space:]]+DONE|Done [0-9]+ runs)' "$scratch/$name.log" || true
done
