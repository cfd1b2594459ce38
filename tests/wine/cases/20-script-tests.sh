# The script tests through mqsrun.exe: the same expected output as natively.
python3 "$MAQO_ROOT/tests/scripts/run_script_tests.py" --wine --timeout 120 \
  --runner "wine $MAQO_WIN_BIN/mqsrun.exe"
