#!/usr/bin/env bash
# Key synthesis under Wine: N KBD clicks from mqsrun.exe into ctlhost's edit
# against the same N clicks from a C SendInput loop (inputdriver.exe, the
# floor here). The script's time is that of a run with N clicks minus that of
# the same run without them, so start-up and the window's appearance do not
# count. Prints milliseconds per key for both and their ratio.
#   BENCH_KEYS=1000   clicks per run
set -uo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$ROOT/tests/wine/env.sh"
N=${BENCH_KEYS:-1000}
export MAQO_WINEPREFIX=${MAQO_WINEPREFIX:-$ROOT/build/bench-input-prefix}
OUT=${BENCH_OUT:-$ROOT/build/bench}/input
mkdir -p "$OUT"
trap 'wine_env_stop' EXIT
wine_env_start || exit 1

ctlhost=$(winpath "$MAQO_WIN_BIN/ctlhost.exe")
write_script() {  # FILE CLICKS
  cat >"$1" <<MQS
ID = EXEC("$ctlhost /log $(winpath "$OUT/ctlhost.log")")
CTRLWIN(ID, ACTIVATE)
SLEEP(0.5)
FOR I = 1 TO $2
  KBD(VK_A)
NEXT
CTRLWIN(ID, CLOSE)
MQS
}
write_script "$OUT/keys.mqs" "$N"
write_script "$OUT/none.mqs" 0

elapsed_ms() {  # runs mqsrun.exe on a script, prints wall milliseconds
  local start end
  start=$(date +%s%N)
  wrun 600 "$MAQO_WIN_BIN/mqsrun.exe" "$(winpath "$1")" >"$OUT/run.out" 2>&1
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}
elapsed_ms "$OUT/none.mqs" >/dev/null  # warm-up
base=$(elapsed_ms "$OUT/none.mqs")
with=$(elapsed_ms "$OUT/keys.mqs")
typed=$(grep -c "^edit WM_CHAR 0x61 " "$OUT/ctlhost.log" || true)

# The floor: a C loop of SendInput into the same window.
cat >"$OUT/floor.mqs" <<MQS
ID = EXEC("$ctlhost /log $(winpath "$OUT/floor.log")")
CTRLWIN(ID, ACTIVATE)
SLEEP(0.5)
PRINT DOSCMD("$(winpath "$MAQO_WIN_BIN/inputdriver.exe") keys $N")
SLEEP(0.5)
CTRLWIN(ID, CLOSE)
MQS
wrun 600 "$MAQO_WIN_BIN/mqsrun.exe" "$(winpath "$OUT/floor.mqs")" >"$OUT/floor.out" 2>&1
floor=$(tr -d '\r' <"$OUT/floor.out" | grep -E '^[0-9.]+$' | tail -1)

awk -v n="$N" -v base="$base" -v with="$with" -v floor="$floor" -v typed="$typed" 'BEGIN {
  kbd = (with - base) / n
  c = floor / n
  printf "keys: %d (%d arrived as WM_CHAR)\n", n, typed
  printf "KBD from a script: %.3f ms per key\n", kbd
  printf "C SendInput loop:  %.3f ms per key\n", c
  if (c > 0) printf "ratio: %.1f\n", kbd / c
}'
