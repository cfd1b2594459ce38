#!/usr/bin/env bash
# PRINT throughput into the log window under Wine: mqsrun.exe shows the log
# window (LOGPRINT) and prints lines at LogLines 2,000 (N lines) and 100,000
# (N + 100,000 lines, so the memo is rewritten from the kept lines too); the
# script times its own loop up to the moment the memo holds the last line
# (lines reach it in batches; LOGPRINT waits for the batch), so start-up does
# not count. Standard output goes
# to a file as well (mqsrun.exe writes every PRINT there). Prints lines per
# second for each limit (the median of the rounds); the target is >= 10,000.
#   BENCH_LINES=20000  lines per run at 2,000 (plus 100,000 at 100,000)
#   BENCH_RUNS=3       rounds
set -uo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$ROOT/tests/wine/env.sh"
N=${BENCH_LINES:-20000}
RUNS=${BENCH_RUNS:-3}
export MAQO_WINEPREFIX=${MAQO_WINEPREFIX:-$ROOT/build/bench-logwin-prefix}
OUT=${BENCH_OUT:-$ROOT/build/bench}/logwin
mkdir -p "$OUT"
trap 'wine_env_stop' EXIT
wine_env_start || exit 1

median() { sort -n | awk '{v[NR] = $1} END {if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

for limit in 2000 100000; do
  lines=$N
  [ "$limit" -eq 100000 ] && lines=$((N + 100000))
  cat >"$OUT/print_$limit.mqs" <<MQS
OPTION LOGLINES=$limit
LOGPRINT(1, 0, 0, 400, 300)
T0 = GETTIME()
Z0 = G_TIME_ZZ
FOR I = 1 TO $lines
  PRINT "line " + I + " of the log window benchmark"
NEXT
// Showing the window again first adds every queued line to the memo.
LOGPRINT(1)
MS = (GETTIME() - T0) * 1000 + G_TIME_ZZ - Z0
PRINT "LOOP_MS " + MS
MQS
  : >"$OUT/rounds_$limit.txt"
  for _ in $(seq "$RUNS"); do
    wrun 600 "$MAQO_WIN_BIN/mqsrun.exe" "$(winpath "$OUT/print_$limit.mqs")" >"$OUT/print.out" 2>&1
    ms=$(tr -d '\r' <"$OUT/print.out" | sed -n 's/^LOOP_MS //p' | tail -1)
    [ -n "$ms" ] || { echo "run failed:"; tail -5 "$OUT/print.out"; exit 1; }
    awk -v n="$lines" -v ms="$ms" 'BEGIN {print (ms > 0 ? int(n * 1000 / ms) : n * 1000)}' >>"$OUT/rounds_$limit.txt"
  done
  echo "LogLines $limit: $(median <"$OUT/rounds_$limit.txt") lines/s (target >= 10000; $lines lines, $RUNS rounds)"
done
