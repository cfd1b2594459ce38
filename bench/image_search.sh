#!/usr/bin/env bash
# CHKIMG's search on a 1280x1024 screenshot of a Wine desktop (bench/data)
# against OpenCV's matchTemplate on the same pictures, in the same run:
# exact, tolerant (IMG_MSK_BGR2) and a degenerate case (a 32x32 template of
# the black background with one grey pixel, found nowhere: a search that
# compares from the template's first pixel meets a near-match everywhere).
# Prints one row per case: maqo's hits and median ms, OpenCV's.
#   BENCH_ROUNDS=20
set -uo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BIN=${MAQO_NATIVE_BIN:-$ROOT/build/native/bin}
OUT=${BENCH_OUT:-$ROOT/build/bench}/image
ROUNDS=${BENCH_ROUNDS:-20}
PY=/usr/bin/python3
mkdir -p "$OUT"
[ -x "$BIN/imgsearch_bench" ] || { echo "bench: $BIN/imgsearch_bench is missing; run make native" >&2; exit 2; }
convert "$ROOT/bench/data/desktop.png" -type TrueColor "BMP3:$OUT/desktop.bmp" &&
  convert "$ROOT/bench/data/canvasicon.png" -type TrueColor "BMP3:$OUT/icon.bmp" &&
  convert -size 32x32 xc:black -fill '#808080' -draw 'point 31,31' -type TrueColor "BMP3:$OUT/degenerate.bmp" ||
  { echo "bench: the test pictures could not be made (ImageMagick's convert)" >&2; exit 2; }
opencv=yes
$PY -c 'import cv2' 2>/dev/null || opencv="no (python3-opencv is not installed)"

status=0
printf '%-11s %-22s %-22s %s\n' case "maqo (hits ms)" "opencv (hits ms)" ratio
row() {  # NAME TEMPLATE MODE TOLERANCE HITNUMBER
  local ours theirs="-" ratio="-"
  if ! ours=$("$BIN/imgsearch_bench" "$OUT/desktop.bmp" "$OUT/$2" "$3" "$4" "$5" "$ROUNDS"); then
    echo "$1: imgsearch_bench failed" >&2
    status=1
    return
  fi
  if [ "$opencv" = yes ]; then
    if theirs=$($PY "$ROOT/bench/imgsearch_opencv.py" "$OUT/desktop.bmp" "$OUT/$2" "$4" "$ROUNDS") && [ -n "$theirs" ]; then
      ratio=$(awk -v a="${ours##* }" -v b="${theirs##* }" 'BEGIN { if (a > 0) printf "opencv takes %.0fx as long", b / a; else print "-" }')
    else
      echo "$1: the OpenCV run failed" >&2
      theirs="-"
      status=1
    fi
  fi
  read -r hits state ms <<<"$ours"
  [ "$state" = ok ] || hits="$hits($state)"
  printf '%-11s %-22s %-22s %s\n' "$1" "$hits $ms" "$theirs" "$ratio"
}
row exact icon.bmp 0 0 -1
row tolerant icon.bmp 0 197379 -1
row degenerate degenerate.bmp 0 0 1
[ "$opencv" = yes ] || echo "opencv: $opencv"

# Under Wine: capture time, measured inside one mqsrun.exe run so that Wine's
# start-up does not count: N full-screen SAVEIMG to the clipboard (capture
# only) and N full-screen CHKIMG (capture and search) of a template found nowhere.
if [ "${BENCH_WINE:-0}" = 1 ]; then
  N=${BENCH_CAPTURES:-20}
  source "$ROOT/tests/wine/env.sh"
  export MAQO_WINEPREFIX=${MAQO_WINEPREFIX:-$ROOT/build/bench-image-prefix}
  trap wine_env_stop EXIT
  wine_env_start || exit 1
  cat >"$OUT/capture.mqs" <<MQS
S0 = GETTIME(); Z0 = G_TIME_ZZ
FOR I = 1 TO $N
  SAVEIMG("", 0, 0, 0, 1280, 1024)
NEXT
S1 = GETTIME(); Z1 = G_TIME_ZZ
FOR I = 1 TO $N
  CHKIMG("$(winpath "$OUT/degenerate.bmp")")
NEXT
S2 = GETTIME(); Z2 = G_TIME_ZZ
PRINT "wine capture: " + ((S1 - S0) * 1000 + Z1 - Z0) / $N + " ms per full-screen SAVEIMG to the clipboard, " + ((S2 - S1) * 1000 + Z2 - Z1) / $N + " ms per full-screen CHKIMG"
MQS
  wrun 300 "$MAQO_WIN_BIN/mqsrun.exe" "$(winpath "$OUT/capture.mqs")" 2>&1 | tr -d '\r' || status=1
fi
exit $status
