# Screen image search against real pixels: imgcanvas.exe shows twin icons,
# their +1/+2 colour variants, an inverted copy and a pure red pixel at known
# places. A script reads the red pixel, saves the whole screen and a region,
# finds the region again (exact, with tolerances, by shape, relative to the
# window after MOUSEORG; PrintWindow of another process draws nothing under
# Wine, so the window's own painting is left to the unit tests) and writes JPEG files at two qualities, which
# ImageMagick then measures.
set -e
cd "$MAQO_WIN_BIN/.."
# The image logic of the Windows build against the fakes first.
wrun 300 "$MAQO_WIN_BIN/maqo_unit_tests.exe" --gtest_brief=1 --gtest_filter='ImageSearch*:BmpCodec*:TemplateFile*:ImageTest*'
work=$(mktemp -d "$MAQO_WINE_OUT/image.XXXXXX")
canvas=$(winpath "$MAQO_WIN_BIN/imgcanvas.exe")
w=$(winpath "$work")
cat >"$work/image.mqs" <<MQS
ID = EXEC("$canvas")
SLEEP(1)
PRINT PEEKCOLOR(110, 180)
PRINT PEEKCOLOR(110, 180, COL_RGB)
PRINT PEEKCOLOR(110, 180, COL_R)
SAVEIMG("$w\\shot")
SAVEIMG("$w\\icon", 0, 120, 120, 16, 16)
PRINT CHKIMG("$w\\icon.png", 0, , , , , -1)
PRINT ALL_IMG_X[0] + "," + ALL_IMG_Y[0] + " " + ALL_IMG_X[1] + "," + ALL_IMG_Y[1]
PRINT CHKIMG("$w\\icon", 0, , , , , -1, IMG_MSK_BGR1)
PRINT CHKIMG("$w\\icon", 0, , , , , -1, IMG_MSK_BGR2)
PRINT CHKIMG("$w\\icon", 0, , , , , -1, IMG_MSK_R1)
PRINT CHKIMG("$w\\icon", -1, , , , , -1)
PRINT ALL_IMG_X[4]
MOUSEORG(ID)
PRINT CHKIMG("$w\\icon") + " " + G_IMG_X + "," + G_IMG_Y
PRINT PEEKCOLOR(10, 80)
MOUSEORG(ID, 0, MORG_FORE)
PRINT CHKIMG("$w\\icon", 0, 50, 0) + " " + G_IMG_X + "," + G_IMG_Y
MOUSEORG(0)
SAVEIMG("$w\\q10", 0, 100, 100, 300, 120, 0, 10)
SAVEIMG("$w\\q90.JPEG", 0, 100, 100, 300, 120, 0, 90)
CTRLWIN(ID, CLOSE)
MQS
run_mqs 120 "$work/image.mqs"
printf '%s\n' 255 16711680 255 2 "120,120 160,120" 3 4 2 5 280 "True 20,20" 255 "True 60,20" >"$work/want.txt"
diff "$work/want.txt" "$work/image.out"

screen=$(xdpyinfo -display "$DISPLAY" | awk '/dimensions:/ {print $2}')
[ "$(identify -format '%wx%h' "$work/shot.bmp")" = "$screen" ] || { echo "shot.bmp is not $screen"; exit 1; }
[ "$(identify -format '%wx%h' "$work/icon.bmp")" = 16x16 ]
[ "$(identify -format '%Q' "$work/q10.jpg")" = 10 ] || { echo "q10.jpg quality $(identify -format '%Q' "$work/q10.jpg")"; exit 1; }
[ "$(identify -format '%Q' "$work/q90.JPEG")" = 90 ]
[ "$(stat -c %s "$work/q10.jpg")" -lt "$(stat -c %s "$work/q90.JPEG")" ]
