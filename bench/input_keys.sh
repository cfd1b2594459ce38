#!/usr/bin/env bash
# Key synthesis under Wine: N KBD clicks from mqsrun.exe into ctlhost's edit
# against the same N clicks from a C SendInput loop (inputdriver.exe, the
# floor here). Both loops time themselves, so start-up and the window's
# appearance do not count. A second floor pauses 2 ms before each click as
# KBD must (its delay is at least 2 ms), so the ratio to it is what KBD costs
# beyond that pause. Every measurement runs once per round, interleaved, and
# the medians count. Prints milliseconds per key for each and the ratios.
#   BENCH_KEYS=1000   clicks per run
#   BENCH_RUNS=5      rounds
set -uo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$ROOT/tests/wine/env.sh"
N=${BENCH_KEYS:-1000}
RUNS=${BENCH_RUNS:-5}
export MAQO_WINEPREFIX=${MAQO_WINEPREFIX:-$ROOT/build/bench-input-prefix}
OUT=${BENCH_OUT:-$ROOT/build/bench}/input
mkdir -p "$OUT"
trap 'wine_env_stop' EXIT
wine_env_start || exit 1

ctlhost=$(winpath "$MAQO_WIN_BIN/ctlhost.exe")
# The script times its own loop (GETTIME's seconds and G_TIME_ZZ's
# milliseconds) and waits before closing, so every key can arrive first.
cat >"$OUT/keys.mqs" <<MQS
ID = EXEC("$ctlhost /log $(winpath "$OUT/ctlhost.log")")
CTRLWIN(ID, ACTIVATE)
SLEEP(0.5)
T0 = GETTIME()
Z0 = G_TIME_ZZ
FOR I = 1 TO $N
  KBD(VK_A)
NEXT
PRINT (GETTIME() - T0) * 1000 + G_TIME_ZZ - Z0
SLEEP(2)
CTRLWIN(ID, CLOSE)
MQS

median() { sort -n | awk '{v[NR] = $1} END {if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

# The floors: a C loop of SendInput into the same window, without and with
# KBD's least pause before each click.
write_floor() {  # FILE PAUSE_MS
  cat >"$1" <<MQS
ID = EXEC("$ctlhost /log $(winpath "$OUT/floor.log")")
CTRLWIN(ID, ACTIVATE)
SLEEP(0.5)
PRINT DOSCMD("$(winpath "$MAQO_WIN_BIN/inputdriver.exe") keys $N $2")
SLEEP(2)
CTRLWIN(ID, CLOSE)
MQS
}
write_floor "$OUT/floor.mqs" 0
write_floor "$OUT/paced.mqs" 2

loop_ms() {  # runs a script that prints its loop's milliseconds, prints them
  wrun 600 "$MAQO_WIN_BIN/mqsrun.exe" "$(winpath "$1")" >"$OUT/loop.out" 2>&1
  tr -d '\r' <"$OUT/loop.out" | grep -E '^[0-9.]+$' | tail -1
}
: >"$OUT/rounds.txt"
typed_min=$N
for round in $(seq "$RUNS"); do
  kbd=$(loop_ms "$OUT/keys.mqs")
  typed=$(grep -c "^edit WM_CHAR 0x61 " "$OUT/ctlhost.log" || true)
  [ "$typed" -lt "$typed_min" ] && typed_min=$typed
  floor=$(loop_ms "$OUT/floor.mqs")
  paced=$(loop_ms "$OUT/paced.mqs")
  echo "${kbd:-0} ${floor:-0} ${paced:-0}" >>"$OUT/rounds.txt"
  awk -v r="$round" -v n="$N" -v k="${kbd:-0}" -v f="${floor:-0}" -v p="${paced:-0}" \
    'BEGIN {printf "round %d: KBD %.3f, C loop %.3f, C loop with 2 ms pauses %.3f ms per key\n", r, k / n, f / n, p / n}'
done
kbd=$(awk -v n="$N" '{print $1 / n}' "$OUT/rounds.txt" | median)
c=$(awk -v n="$N" '{print $2 / n}' "$OUT/rounds.txt" | median)
cp=$(awk -v n="$N" '{print $3 / n}' "$OUT/rounds.txt" | median)

awk -v n="$N" -v runs="$RUNS" -v kbd="$kbd" -v c="$c" -v cp="$cp" -v typed="$typed_min" 'BEGIN {
  printf "keys: %d per run, %d rounds (at least %d arrived as WM_CHAR in every round)\n", n, runs, typed
  printf "KBD from a script:             %.3f ms per key (median)\n", kbd
  printf "C SendInput loop:              %.3f ms per key (median)\n", c
  printf "C loop with a 2 ms pause:      %.3f ms per key (median)\n", cp
  if (c > 0) printf "ratio to the C loop: %.1f\n", kbd / c
  if (cp > 0) printf "ratio to the paced C loop: %.2f\n", kbd / cp
}'
