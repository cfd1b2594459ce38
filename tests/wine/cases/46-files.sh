# The file builtins on Windows for real. The file unit tests (byte-for-byte
# round trips, CSV fields, INI changes, a 50 MB write killed half-way) run in
# the Western code page and again in the Japanese one, where the CP932 cases
# of the round-trip table run. Then through mqsrun.exe: WRITEINI of a Japanese
# value into a new INI file (ANSI on a Japanese system, UTF-8 elsewhere), and
# WRITEINI on an INI file another process holds locked, which must keep every
# old key.
set -e
cd "$MAQO_WIN_BIN/.."
wrun 300 "$MAQO_WIN_BIN/maqo_unit_tests.exe" --gtest_brief=1 --gtest_filter='BuiltinsFiles*'
LANG=ja_JP.UTF-8 wrun 300 "$MAQO_WIN_BIN/maqo_unit_tests.exe" --gtest_brief=1 --gtest_filter='BuiltinsFiles*'

work=$(mktemp -d "$MAQO_WINE_OUT/files.XXXXXX")
runscript() {  # runscript NAME [env assignments...]: runs work/NAME.mqs, output in work/NAME.out
  local name=$1
  shift
  env "$@" timeout -k 5 60 wine "$MAQO_WIN_BIN/mqsrun.exe" "$(winpath "$work/$name.mqs")" >"$work/$name.out" 2>"$work/$name.err" || {
    echo "mqsrun $name failed:"
    cat "$work/$name.err"
    return 1
  }
  tr -d '\r' <"$work/$name.out" >"$work/$name.txt"
}

# A Japanese value in a new INI file.
for lang in C ja_JP.UTF-8; do
  ini=$(winpath "$work/value-$lang.ini")
  printf '\xEF\xBB\xBFWRITEINI("S", "k", "日本", "%s")\r\n' "$ini" >"$work/japanese.mqs"
  runscript japanese LANG=$lang
done
printf '[S]\r\nk=\xE6\x97\xA5\xE6\x9C\xAC\r\n' >"$work/want-utf8.ini"
printf '[S]\r\nk=\x93\xFA\x96\x7B\r\n' >"$work/want-sjis.ini"
cmp "$work/want-utf8.ini" "$work/value-C.ini"
cmp "$work/want-sjis.ini" "$work/value-ja_JP.UTF-8.ini"

# An INI file held by another process while WRITEINI runs.
printf '[Main]\r\nold=1\r\n\r\n[Other]\r\nkeep=2\r\n' >"$work/locked.ini"
cp "$work/locked.ini" "$work/before.ini"
ini=$(winpath "$work/locked.ini")
cat >"$work/locked.mqs" <<MQS
WRITEINI("Main", "new", "3", "$ini")
PRINT "[" + READINI("Main", "old", "$ini") + "]"
MQS
timeout -k 5 60 wine "$MAQO_WIN_BIN/holdfile.exe" "$ini" 8 &
holder=$!
for _ in $(seq 1 100); do [ -e "$work/locked.ini.held" ] && break; sleep 0.1; done
[ -e "$work/locked.ini.held" ] || { echo "holdfile did not take the file"; exit 1; }
runscript locked
[ -e "$work/locked.ini.held" ] || { echo "the lock ended before the script did; the test proves nothing"; exit 1; }
wait "$holder"
echo "while locked: $(cat "$work/locked.txt")"
grep -qx '\[\]' "$work/locked.txt"
cmp "$work/before.ini" "$work/locked.ini"
runscript locked
grep -qx '\[1\]' "$work/locked.txt"
printf '[Main]\r\nold=1\r\nnew=3\r\n\r\n[Other]\r\nkeep=2\r\n' >"$work/want-locked.ini"
cmp "$work/want-locked.ini" "$work/locked.ini"
if ls "$work" | grep -q 'maqo-tmp'; then echo "a temporary file was left behind"; exit 1; fi
