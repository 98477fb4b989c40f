#!/usr/bin/env bash
# Runs every test of a configured build tree with ctest and ends with one
# summary line. Exits non-zero when a test fails.
# Usage: scripts/check.sh BUILD_DIR [JOBS]
set -uo pipefail

build_dir=$1
jobs=${2:-2}
log=$build_dir/ctest-output.txt

(cd "$build_dir" && ctest --output-on-failure -j "$jobs") 2>&1 | tee "$log"
status=${PIPESTATUS[0]}

summary=$(grep -Eo '[0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
if [[ $summary =~ ^([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+)$ ]]; then
  failed=${BASH_REMATCH[1]}
  total=${BASH_REMATCH[2]}
  echo "check: $((total - failed)) passed, $failed failed"
elif grep -q 'No tests were found' "$log"; then
  echo "check: no tests were found"
else
  echo "check: ctest stopped before running the tests (exit status $status)"
fi
exit "$status"
