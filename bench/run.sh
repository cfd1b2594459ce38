#!/usr/bin/env bash
# Benchmarks maqo against its peers: native mqsrun against python3 and
# lua5.4, and mqsrun.exe under Wine against Wine's cscript (VBScript).
# Builds nothing: it uses what `make build` left in build/native and the
# Windows build Wine runs here (build/win32, or build/win64 where 32-bit
# programs cannot run; tests/wine/env.sh chooses; `make bench` builds both).
#
# Settings (environment):
#   BENCH_RUNS=3           rounds; every benchmark runs once per round for
#                          every column, interleaved, and the median counts
#   BENCH_FILTER=regex     only the benchmarks whose name matches (see cases.txt)
#   BENCH_IMPLS=list       columns, comma-separated, of maqo,python3,lua5.4,maqo.exe,cscript
#   BENCH_TIMEOUT=900      seconds allowed per run
#   BENCH_PYTHON=path      the python3 to compare with (default: the system's)
#   BENCH_OUT=dir          data folder (default build/bench; generated, never committed);
#                          the results also go there as results.json
#   MAQO_NATIVE_BIN, MAQO_WIN_BIN   folders holding mqsrun and mqsrun.exe
#   MAQO_WINEPREFIX        private Wine prefix (default build/bench-wine-prefix,
#                          created fresh for the run)
# Exit status 1 when any run printed a wrong answer, failed or timed out.
set -uo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
OUT=${BENCH_OUT:-$ROOT/build/bench}
NATIVE_BIN=${MAQO_NATIVE_BIN:-$ROOT/build/native/bin}
IMPLS=${BENCH_IMPLS:-maqo,python3,lua5.4,maqo.exe,cscript}
if [ -z "${BENCH_PYTHON:-}" ]; then
  # The distribution's interpreter is the peer, not whatever a user's PATH
  # puts first.
  if [ -x /usr/bin/python3 ]; then BENCH_PYTHON=/usr/bin/python3; else BENCH_PYTHON=python3; fi
fi

if [ ! -x /usr/bin/time ]; then
  echo "bench: /usr/bin/time (GNU time) is missing; run make setup" >&2
  exit 2
fi
if [ ! -x "$NATIVE_BIN/mqsrun" ]; then
  echo "bench: $NATIVE_BIN/mqsrun is missing; run make build" >&2
  exit 2
fi

mkdir -p "$OUT"
python3 "$ROOT/bench/gen_data.py" "$OUT" || exit 2

wine_args=()
case ",$IMPLS," in
  *,maqo.exe,*|*,cscript,*)
    if ! command -v wine >/dev/null 2>&1; then
      wine_args=(--wine-reason "wine is not installed")
    else
      export MAQO_WINEPREFIX=${MAQO_WINEPREFIX:-$ROOT/build/bench-wine-prefix}
      # shellcheck source=tests/wine/env.sh
      source "$ROOT/tests/wine/env.sh"
      trap wine_env_stop EXIT
      echo "bench: preparing the Wine prefix $MAQO_WINEPREFIX (takes a while)" >&2
      if wine_env_start; then
        # A persistent server: every run then finds it up instead of paying
        # for its start, as a program on Windows finds the system running.
        wineserver -p >/dev/null 2>&1
        wine_args=(--wine-ready)
      else
        wine_args=(--wine-reason "the Wine prefix could not be prepared")
      fi
    fi
    ;;
esac

python3 "$ROOT/bench/runner.py" \
  --work "$OUT" \
  --native-bin "$NATIVE_BIN" \
  --win-bin "${MAQO_WIN_BIN:-$ROOT/build/win32/bin}" \
  --python "$BENCH_PYTHON" \
  --runs "${BENCH_RUNS:-3}" \
  --filter "${BENCH_FILTER:-}" \
  --impls "$IMPLS" \
  --timeout "${BENCH_TIMEOUT:-900}" \
  "${wine_args[@]}"
