#!/usr/bin/env bash
# Reading a list view of another process under Wine: GETITEM of every column
# of ctlhost's 1,000 x 8 list view (/bigview) from mqsrun.exe, against a C
# loop of the same LVM_GETITEMTEXTW calls through a buffer in ctlhost's
# process (lvread.exe, the floor). The script's time is that of a run with
# the reads minus that of the same run without them, so start-up and the
# window's appearance do not count. Prints milliseconds per round (8,000
# cells) for both and their ratio.
#   BENCH_ROUNDS=5   rounds per run
set -uo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$ROOT/tests/wine/env.sh"
N=${BENCH_ROUNDS:-5}
export MAQO_WINEPREFIX=${MAQO_WINEPREFIX:-$ROOT/build/bench-controls-prefix}
OUT=${BENCH_OUT:-$ROOT/build/bench}/getitem
mkdir -p "$OUT"
trap 'wine_env_stop' EXIT
wine_env_start || exit 1

ctlhost=$(winpath "$MAQO_WIN_BIN/ctlhost.exe")
lvread=$(winpath "$MAQO_WIN_BIN/lvread.exe")
write_script() {  # FILE ROUNDS FLOOR
  cat >"$1" <<MQS
ID = EXEC("$ctlhost /bigview /title BenchView")
CTRLWIN(ID, ACTIVATE)
SLEEP(0.5)
T = 0
FOR R = 1 TO $2
  FOR C = 1 TO 8
    T = T + GETITEM(ID, ITM_LISTVIEW, 1, C)
  NEXT
NEXT
PRINT T
IFB $3 > 0 THEN
  PRINT DOSCMD("$lvread BenchView $3")
ENDIF
CTRLWIN(ID, CLOSE)
MQS
}
write_script "$OUT/reads.mqs" "$N" 0
write_script "$OUT/none.mqs" 0 0
write_script "$OUT/floor.mqs" 0 "$N"

elapsed_ms() {  # runs mqsrun.exe on a script, prints wall milliseconds
  local start end
  start=$(date +%s%N)
  wrun 900 "$MAQO_WIN_BIN/mqsrun.exe" "$(winpath "$1")" >"$OUT/$(basename "$1" .mqs).out" 2>&1
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}
elapsed_ms "$OUT/none.mqs" >/dev/null  # warm-up
base=$(elapsed_ms "$OUT/none.mqs")
with=$(elapsed_ms "$OUT/reads.mqs")
texts=$(tr -d '\r' <"$OUT/reads.out" | head -1)
elapsed_ms "$OUT/floor.mqs" >/dev/null
floor=$(tr -d '\r' <"$OUT/floor.out" | grep -E '^[0-9]+ [0-9.]+$' | tail -1 | cut -d' ' -f2)

awk -v n="$N" -v base="$base" -v with="$with" -v floor="$floor" -v texts="$texts" 'BEGIN {
  g = (with - base) / n
  c = floor / n
  printf "rounds: %d, texts listed: %s (8 x (8 headers + 1,000 rows) per round)\n", n, texts
  printf "GETITEM from a script: %.1f ms per round\n", g
  printf "C LVM_GETITEMTEXTW loop: %.1f ms per round\n", c
  if (c > 0) printf "ratio: %.2f\n", g / c
}'
