#!/usr/bin/env bash
# Runs the bundled demo with the Windows console runner under Wine + Xvfb and
# checks that it prints what it should.
set -u
HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/../tests/wine/env.sh"
export MAQO_WINEPREFIX=$MAQO_ROOT/build/wine-prefix-demo
trap 'wine_env_stop' EXIT
wine_env_start || exit 1
demo=$(winpath "$HERE/demo.mqs")
echo "== mqsrun.exe examples/demo.mqs"
output=$(wrun 120 "$MAQO_WIN_BIN/mqsrun.exe" "$demo")
status=$?
printf '%s\n' "$output"
expected='Hello, World!
1 + ... + 10 = 55
  This text is kept as written: // not a comment, lower case stays.'
if [ "$status" -ne 0 ]; then
  echo "demo: mqsrun.exe exited with $status" >&2
  exit 1
fi
if [ "$(printf '%s' "$output" | tr -d '\r')" != "$expected" ]; then
  echo "demo: the output differs from what the demo should print" >&2
  exit 1
fi
echo "== demo OK"
