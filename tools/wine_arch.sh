#!/usr/bin/env bash
# Prints which Windows build the Wine tests can run on this machine: win32
# when Wine's 32-bit loader starts, win64 when the machine refuses 32-bit
# programs (some sandboxes do) or wine32 is missing.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo win32
else
  echo win64
fi
