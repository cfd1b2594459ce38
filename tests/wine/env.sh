# Sourced by the Wine harness and the demo: a private Wine prefix and X display
# for this run, and their clean-up. Never touches the user's ~/.wine.
#   wine_env_start   create the prefix and start Xvfb (sets WINEPREFIX, DISPLAY)
#   wine_env_stop    stop every Wine process of the prefix and Xvfb, by process id
#   wrun SECONDS ... run a Wine program with a time limit

MAQO_ROOT=${MAQO_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# Which Wine runs the tests. The product is a 32-bit program and is tested as
# one wherever the machine can run Wine's 32-bit loader. Some machines refuse
# 32-bit Linux programs altogether ("Exec format error"); there the same
# sources, built for 64-bit Windows (build/win64), run under 64-bit Wine and
# the cases that only mean something for 32-bit code say so and are skipped.
# MAQO_WINE_ARCH=win32|win64 chooses by hand.
if [ -z "${MAQO_WINE_ARCH:-}" ]; then
  MAQO_WINE_ARCH=$(bash "$MAQO_ROOT/tools/wine_arch.sh")
fi
export MAQO_WINE_ARCH
if [ "$MAQO_WINE_ARCH" = win64 ]; then
  MAQO_WIN_BIN=${MAQO_WIN_BIN:-$MAQO_ROOT/build/win64/bin}
  export WINEARCH=win64
  export WINELOADER=/usr/lib/wine/wine64
  # Debian's wine and wineboot scripts start the 32-bit loader whenever it is
  # installed; these stand-ins start the 64-bit one.
  MAQO_WINE_SHIM=$MAQO_ROOT/build/wine64-shim
  mkdir -p "$MAQO_WINE_SHIM"
  for shim in wine wine-stable; do
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$MAQO_WINE_SHIM/$shim"
    chmod +x "$MAQO_WINE_SHIM/$shim"
  done
  case ":$PATH:" in *":$MAQO_WINE_SHIM:"*) ;; *) export PATH="$MAQO_WINE_SHIM:$PATH" ;; esac
else
  MAQO_WIN_BIN=${MAQO_WIN_BIN:-$MAQO_ROOT/build/win32/bin}
  export WINEARCH=win32
fi
export MAQO_WIN_BIN

# A case that only means something for the 32-bit build calls this first:
# under 64-bit Wine it reports why and ends as skipped (exit code 77).
needs_wine32() {
  if [ "$MAQO_WINE_ARCH" != win32 ]; then
    echo "SKIP: $1 (this machine cannot run 32-bit programs, so the tests run the 64-bit build)"
    exit 77
  fi
}
XVFB_PID=""

wine_env_start() {
  export WINEPREFIX=${MAQO_WINEPREFIX:-$MAQO_ROOT/build/wine-prefix}
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  local n
  for n in $(seq 91 190); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    local tries=0
    while [ ! -e "/tmp/.X11-unix/X$n" ] && kill -0 "$XVFB_PID" 2>/dev/null && [ $tries -lt 100 ]; do
      sleep 0.1
      tries=$((tries + 1))
    done
    if [ -e "/tmp/.X11-unix/X$n" ]; then
      export DISPLAY=":$n"
      break
    fi
    kill "$XVFB_PID" 2>/dev/null
    XVFB_PID=""
  done
  if [ -z "$XVFB_PID" ]; then
    echo "wine env: could not start Xvfb" >&2
    return 1
  fi
  # The first start of a prefix takes a while; do it once for the whole run.
  if ! timeout -k 10 300 wineboot -i >"$WINEPREFIX.boot.log" 2>&1; then
    echo "wine env: wineboot failed or timed out (see $WINEPREFIX.boot.log)" >&2
    return 1
  fi
  timeout -k 5 120 wineserver -w 2>/dev/null
  return 0
}

wine_env_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then
    timeout -k 5 30 wineserver -k 2>/dev/null
  fi
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=""
  fi
}

# A second prefix, 64-bit (WoW64), for the cases where bitness matters: the
# 32-bit programs and the 64-bit fixtures (MAQO_WIN64_BIN) run side by side in
# it, on the harness's display, with a wineserver of their own. The main
# prefix is not touched. Called inside a case:
#   wine64_prefix_start   create it and point WINEPREFIX and WINEARCH at it
#   wine64_prefix_stop    stop the Wine processes of the 64-bit prefix
MAQO_WIN64_BIN=${MAQO_WIN64_BIN:-$MAQO_ROOT/build/win64-fixtures/bin}

wine64_prefix_start() {
  if [ ! -x /usr/lib/wine/wine64 ]; then
    echo "wine env: the 64-bit Wine loader is missing (make setup installs wine64)" >&2
    return 1
  fi
  export WINEPREFIX=${MAQO_WINEPREFIX64:-${MAQO_WINEPREFIX:-$MAQO_ROOT/build/wine-prefix}64}
  export WINEARCH=win64
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  if ! timeout -k 10 300 wineboot -i >"$WINEPREFIX.boot.log" 2>&1; then
    echo "wine env: 64-bit wineboot failed or timed out (see $WINEPREFIX.boot.log)" >&2
    return 1
  fi
  timeout -k 5 120 wineserver -w 2>/dev/null
  return 0
}

wine64_prefix_stop() {
  if [ "${WINEARCH:-}" = win64 ] && [ -n "${WINEPREFIX:-}" ]; then
    timeout -k 5 30 wineserver -k 2>/dev/null
  fi
  return 0
}

wrun() {
  local limit=$1
  shift
  timeout -k 5 "$limit" wine "$@"
}

# Runs DIR/NAME.mqs with mqsrun.exe within SECONDS: its output, CR LF made LF,
# in DIR/NAME.out; its errors in DIR/NAME.err, shown. Fails (status 1) with the
# output shown when mqsrun exits with anything but 0.
#   run_mqs SECONDS DIR/NAME.mqs
run_mqs() {
  local limit=$1 script=$2 base=${2%.mqs} code=0
  wrun "$limit" "$MAQO_WIN_BIN/mqsrun.exe" "$(winpath "$script")" >"$base.raw" 2>"$base.err" || code=$?
  tr -d '\r' <"$base.raw" >"$base.out"
  cat "$base.err"
  [ "$code" -eq 0 ] || { echo "$(basename "$script"): mqsrun exit code $code"; cat "$base.out"; return 1; }
}

# A Windows path for a POSIX path (the prefix maps Z: to /).
winpath() {
  local p
  p=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
  echo "Z:${p//\//\\}"
}
