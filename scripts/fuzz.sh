#!/usr/bin/env bash
# Runs every libFuzzer target of a SCRIVLET_FUZZ build tree for a bounded time.
# Each target works on a scratch copy of its seed corpus fuzz/corpus/<target>/
# (BUILD_DIR/corpus/<target>/, kept between runs) so the repository's corpus
# only changes when someone copies an input back on purpose. Crashes, leaks and
# timeouts are written to BUILD_DIR/artifacts/<target>/.
# Usage: scripts/fuzz.sh BUILD_DIR SECONDS   (FUZZ_FLAGS adds libFuzzer flags)
set -euo pipefail

build_dir=$1
seconds=$2
repo=$(cd "$(dirname "$0")/.." && pwd)
list=$build_dir/fuzz/targets.txt

if [ ! -s "$list" ]; then
  echo "fuzz: no fuzz targets in fuzz/"
  exit 0
fi

clean=0
failed=()
while read -r name program; do
  corpus=$build_dir/corpus/$name
  artifacts=$build_dir/artifacts/$name
  mkdir -p "$corpus" "$artifacts"
  if [ -d "$repo/fuzz/corpus/$name" ]; then
    cp -R "$repo/fuzz/corpus/$name/." "$corpus/"
  fi
  echo "== $name: ${seconds} s"
  # shellcheck disable=SC2086
  if "$program" -max_total_time="$seconds" -print_final_stats=1 \
       -artifact_prefix="$artifacts/" ${FUZZ_FLAGS:-} "$corpus" </dev/null; then
    clean=$((clean + 1))
  else
    failed+=("$name")
    echo "fuzz: $name failed; reproducers in $artifacts/"
  fi
done <"$list"

echo "fuzz: ${clean} targets ran clean, ${#failed[@]} failed${failed:+ (${failed[*]})}"
[ ${#failed[@]} -eq 0 ]
