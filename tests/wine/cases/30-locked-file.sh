# A script file held open with share mode 0 by another process: the reader
# retries (10 attempts, 80 ms apart) and then reports a read error naming the
# file, with exit code 9; once the file is released it reads normally.
set -e
work=$(mktemp -d "$MAQO_WINE_OUT/locked.XXXXXX")
printf 'PRINT "locked"\r\n' >"$work/held.mqs"
timeout -k 5 60 wine "$MAQO_WIN_BIN/holdfile.exe" "$(winpath "$work/held.mqs")" 8 &
holder=$!
for _ in $(seq 1 100); do [ -e "$work/held.mqs.held" ] && break; sleep 0.1; done
[ -e "$work/held.mqs.held" ] || { echo "holdfile did not take the file"; exit 1; }
set +e
wrun 60 "$MAQO_WIN_BIN/mqsrun.exe" --lines "$(winpath "$work/held.mqs")" >"$work/out.txt" 2>"$work/err.txt"
code=$?
set -e
cat "$work/err.txt"
[ "$code" -eq 9 ] || { echo "exit code $code, expected 9"; exit 1; }
grep -qi "held.mqs" "$work/err.txt" || { echo "the message does not name the file"; exit 1; }
[ ! -s "$work/out.txt" ] || { echo "lines were printed for an unreadable file"; exit 1; }
wait "$holder"
wrun 60 "$MAQO_WIN_BIN/mqsrun.exe" --lines "$(winpath "$work/held.mqs")" >"$work/out2.txt"
grep -q 'PRINT "locked"' "$work/out2.txt"
