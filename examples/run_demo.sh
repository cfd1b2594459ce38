#!/usr/bin/env bash
# Runs the bundled demos with the Windows console runner under Wine + Xvfb and
# checks that they print what they should: the language demo, then real
# automation (type into ctlhost, read the text back, move and close it).
set -u
HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/../tests/wine/env.sh"
export MAQO_WINEPREFIX=$MAQO_ROOT/build/wine-prefix-demo
work=$(mktemp -d "${TMPDIR:-/tmp}/maqo-demo.XXXXXX")
trap 'wine_env_stop; rm -rf "$work"' EXIT
wine_env_start || exit 1

# run_demo NAME EXPECTED [PARAMETERS...]: runs examples/NAME.mqs, shows what it
# printed and fails unless that is EXPECTED.
run_demo() {
  local name=$1 expected=$2 output status
  shift 2
  echo "== mqsrun.exe examples/$name.mqs"
  output=$(wrun 120 "$MAQO_WIN_BIN/mqsrun.exe" "$(winpath "$HERE/$name.mqs")" "$@")
  status=$?
  printf '%s\n' "$output"
  if [ "$status" -ne 0 ]; then
    echo "demo: mqsrun.exe exited with $status on $name.mqs" >&2
    exit 1
  fi
  if [ "$(printf '%s' "$output" | tr -d '\r')" != "$expected" ]; then
    echo "demo: $name.mqs printed something else than it should" >&2
    exit 1
  fi
}

run_demo demo 'Hello, World!
1 + ... + 10 = 55
  This text is kept as written: // not a comment, lower case stays.'
run_demo automation 'started CtlHost: True
typed and read back: Hello World!
moved to: 200,150
closed: True' "$(winpath "$MAQO_WIN_BIN/ctlhost.exe")" "$(winpath "$work/ctlhost.log")"
echo "== demo OK"
