#!/usr/bin/env bash
# Runs the Windows tests under Wine + Xvfb: every tests/wine/cases/*.sh whose
# name contains the optional filter. Each case runs with a time limit, its output
# goes to build/wine-tests/NAME.log, and the prefix's Wine processes and Xvfb are
# stopped at the end whatever happened.
# MAQO_WIN_BIN (the win32 bin folder), MAQO_WINEPREFIX and MAQO_WINE_OUT let
# several harness runs in one work tree use their own build, prefix and logs.
set -u
HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/env.sh"
filter=${1:-}
CASE_LIMIT=${MAQO_WINE_CASE_LIMIT:-900}
export MAQO_WINE_OUT=${MAQO_WINE_OUT:-$MAQO_ROOT/build/wine-tests}
OUT=$MAQO_WINE_OUT
rm -rf "$OUT"
mkdir -p "$OUT"

trap 'wine_env_stop' EXIT
trap 'exit 130' INT TERM
if ! wine_env_start; then
  echo "wine: 0 passed, 1 failed"
  exit 1
fi

echo "wine: testing the ${MAQO_WINE_ARCH} build ($MAQO_WIN_BIN)"
passed=0
failed=0
skipped=0
for case in "$HERE"/cases/*.sh; do
  name=$(basename "$case" .sh)
  [[ "$name" == *"$filter"* ]] || continue
  start=$(date +%s)
  MAQO_ROOT=$MAQO_ROOT timeout -k 10 "$CASE_LIMIT" bash -c "source '$HERE/env.sh'; source '$case'" >"$OUT/$name.log" 2>&1 </dev/null
  rc=$?
  if [ "$rc" -eq 0 ]; then
    passed=$((passed + 1))
    echo "PASS $name ($(($(date +%s) - start)) s)"
  elif [ "$rc" -eq 77 ]; then
    skipped=$((skipped + 1))
    echo "SKIP $name: $(grep -m1 '^SKIP: ' "$OUT/$name.log" | cut -c7-)"
  else
    failed=$((failed + 1))
    echo "FAIL $name ($(($(date +%s) - start)) s); the end of $OUT/$name.log:"
    tail -n 40 "$OUT/$name.log" | sed 's/^/    /'
  fi
done
echo "wine: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
