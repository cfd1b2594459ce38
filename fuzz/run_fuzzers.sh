#!/usr/bin/env bash
# Builds the libFuzzer targets (build/fuzz: clang++ with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each one for a while. Fails when any
# target reports a finding: a crash, a sanitizer report, a leak, a timeout, an
# out-of-memory, or a broken promise the target checks itself.
#
#   bash fuzz/run_fuzzers.sh [SECONDS] [TARGET...]    (make fuzz FUZZ_SECONDS=n)
#
# SECONDS per target (default 60); TARGETs among reader, builder, eval, run
# (default all, one after the other). The corpus grows in build/fuzz/corpus/
# from run to run; the seeds are the test scripts (copied in at every run) and
# fuzz/seeds/. Findings are written to build/fuzz/findings/, each run's log to
# build/fuzz/logs/. To replay a finding:
#   build/fuzz/bin/fuzz_TARGET build/fuzz/findings/TARGET-crash-...
set -u
cd "$(dirname "$0")/.."

seconds=${1:-${FUZZ_SECONDS:-60}}
shift $(($# > 0 ? 1 : 0))
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(reader builder eval run)

build=build/fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DMAQO_FUZZ=ON -DMAQO_TESTS=OFF -DMAQO_SANITIZE=address,undefined >/dev/null || exit 1
cmake --build "$build" --target maqo_fuzzers || exit 1

mkdir -p "$build/corpus" "$build/findings" "$build/logs"

# Seeds: every test script (and what they CALL) for the targets that read
# scripts; for the evaluator, the committed expressions and the right-hand
# sides and PRINT arguments of the test scripts.
seed_corpus() {
  local target=$1 dir=$build/corpus/$1
  mkdir -p "$dir"
  if [ "$target" = eval ]; then
    cp fuzz/seeds/eval/* "$dir/"
    python3 - "$dir" <<'EOF'
import hashlib, pathlib, re, sys
out = pathlib.Path(sys.argv[1])
for script in sorted(pathlib.Path("tests/scripts").rglob("*.mqs")):
    for line in script.read_bytes().decode("utf-8", "replace").splitlines():
        line = line.strip()
        m = re.match(r"(?i)print\s+(.*)", line) or re.match(r"[^=\"]*?[^<>=!]=\s*(.*)", line)
        if m and m.group(1).strip():
            text = m.group(1).strip().encode("utf-8")
            (out / ("test-" + hashlib.sha1(text).hexdigest()[:16])).write_bytes(text)
EOF
  else
    find tests/scripts -name '*.mqs' | while read -r f; do
      name=${f#tests/scripts/}
      cp "$f" "$dir/test-${name//\//-}"
    done
    cp fuzz/seeds/scripts/* "$dir/"
  fi
}

# Huge allocations fail as they do on a full machine (the engine reports
# them) instead of ending the fuzzer; everything else a sanitizer sees is a finding.
export ASAN_OPTIONS=${ASAN_OPTIONS:-allocator_may_return_null=1:max_allocation_size_mb=1024}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

failed=()
for target in "${targets[@]}"; do
  binary=$build/bin/fuzz_$target
  if [ ! -x "$binary" ]; then
    echo "fuzz: no target '$target' (reader, builder, eval, run)"
    failed+=("$target")
    continue
  fi
  seed_corpus "$target"
  log=$build/logs/$target.log
  echo "=== fuzz_$target for ${seconds}s"
  "$binary" "$build/corpus/$target" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=3072 \
    -dict=fuzz/maqo.dict -artifact_prefix="$build/findings/$target-" \
    -print_final_stats=1 >"$log" 2>&1
  status=$?
  # The last status line carries the coverage, the final stats the speed.
  grep -E '^#[0-9]+' "$log" | tail -1 | sed 's/^/  /'
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$log" | sed 's/^/  /'
  if [ $status -ne 0 ]; then
    echo "  FINDING in fuzz_$target (exit $status); the log ends:"
    tail -40 "$log" | sed 's/^/  | /'
    ls "$build/findings/$target-"* 2>/dev/null | sed 's/^/  input: /'
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz: findings in ${failed[*]}"
  exit 1
fi
echo "fuzz: no findings in ${targets[*]}"
