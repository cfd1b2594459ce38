#!/usr/bin/env bash
# Idle CPU of a waiting dialog under Wine: mqsrun.exe shows MSGBOX and nobody
# answers it; after it has settled, the CPU time the process takes over a
# quiet interval (utime + stime from /proc) is divided by that interval.
# The target is < 2 %. Nothing else runs in the script (a script thread
# sleeping beside it would be measured too); the run is ended afterwards by
# its process id.
#   BENCH_IDLE_SECONDS=10  the measured interval
set -uo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$ROOT/tests/wine/env.sh"
SECONDS_MEASURED=${BENCH_IDLE_SECONDS:-10}
export MAQO_WINEPREFIX=${MAQO_WINEPREFIX:-$ROOT/build/bench-dialog-prefix}
OUT=${BENCH_OUT:-$ROOT/build/bench}/dialog
mkdir -p "$OUT"
trap 'wine_env_stop' EXIT
wine_env_start || exit 1

settle=3
cat >"$OUT/idle.mqs" <<MQS
PRINT "answer " + MSGBOX("waiting")
MQS
wrun $((settle + SECONDS_MEASURED + 60)) "$MAQO_WIN_BIN/mqsrun.exe" "$(winpath "$OUT/idle.mqs")" >"$OUT/idle.out" 2>&1 &
runner=$!
sleep "$settle"
pid=""
for _ in $(seq 1 50); do
  pid=$(pgrep -f 'mqsrun.exe' | while read -r p; do [ "$(ps -o comm= -p "$p")" = "mqsrun.exe" ] && echo "$p"; done | head -1)
  [ -n "$pid" ] && break
  sleep 0.2
done
[ -n "$pid" ] || { echo "mqsrun.exe not found"; wait "$runner"; exit 1; }
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
t0=$(ticks "$pid")
sleep "$SECONDS_MEASURED"
t1=$(ticks "$pid")
kill "$pid"
wait "$runner"
awk -v d=$((t1 - t0)) -v hz="$hz" -v s="$SECONDS_MEASURED" \
  'BEGIN {printf "dialog idle CPU: %.2f %% of one core over %d s (target < 2 %%)\n", 100 * d / hz / s, s}'
