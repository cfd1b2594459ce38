#!/usr/bin/env bash
# Runs every test suite in turn (each one even when an earlier one failed) and
# ends with one summary line over all of them.
set -u
cd "$(dirname "$0")/.."
suites=(
  "native unit tests|build/native/bin/maqo_unit_tests --gtest_brief=1"
  "native script tests|python3 tests/scripts/run_script_tests.py --runner build/native/bin/mqsrun"
  "native unit tests under ASan+UBSan|build/asan/bin/maqo_unit_tests --gtest_brief=1"
  "native script tests under ASan+UBSan|python3 tests/scripts/run_script_tests.py --runner build/asan/bin/mqsrun"
  "thread tests under TSan|build/tsan/bin/maqo_unit_tests --gtest_brief=1 --gtest_filter='*Thread*'"
  "fuzzing, ${FUZZ_SECONDS:-60} s per target|bash fuzz/run_fuzzers.sh ${FUZZ_SECONDS:-60}"
  "Windows tests under Wine|bash tests/wine/harness.sh"
)
passed=0
failed=0
failures=()
for entry in "${suites[@]}"; do
  title=${entry%%|*}
  cmd=${entry#*|}
  echo "=== $title: $cmd"
  if bash -c "$cmd"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    failures+=("$title")
  fi
done
for f in "${failures[@]}"; do echo "FAILED SUITE: $f"; done
echo "suites: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
