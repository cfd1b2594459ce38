#!/usr/bin/env bash
# Runs the bundled demo with the Windows console runner under Wine + Xvfb.
set -u
HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/../tests/wine/env.sh"
export MAQO_WINEPREFIX=$MAQO_ROOT/build/wine-prefix-demo
trap 'wine_env_stop' EXIT
wine_env_start || exit 1
demo=$(winpath "$HERE/demo.mqs")
echo "== mqsrun.exe --lines examples/demo.mqs (the program as the reader prepares it)"
wrun 120 "$MAQO_WIN_BIN/mqsrun.exe" --lines "$demo"
