# The unit tests, built for Windows, run under Wine: the platform-neutral logic
# must behave the same there, and the Win32 seams are exercised for real.
cd "$MAQO_WIN_BIN/.."
wrun 600 "$MAQO_WIN_BIN/maqo_unit_tests.exe" --gtest_brief=1
