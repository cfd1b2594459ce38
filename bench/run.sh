#!/usr/bin/env bash
# Benchmarks against peers. None are written yet: the interpreter cannot run
# scripts until the statement executor exists, so there is nothing to measure.
echo "bench: no benchmarks yet (they need the statement executor)"
exit 1
