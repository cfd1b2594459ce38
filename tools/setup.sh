#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for building and testing maqo.
# Idempotent: packages already present are skipped, so a second run is quick.
set -euo pipefail

need_root() { if [ "$(id -u)" -ne 0 ]; then echo "sudo"; fi; }
SUDO=$(need_root)

packages=(
  build-essential cmake ninja-build pkg-config
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
  googletest libgtest-dev libgmock-dev
  clang libclang-rt-14-dev llvm
  libjpeg62-turbo-dev
  wine wine32:i386 wine64 xvfb xauth x11-utils imagemagick
  python3 python3-opencv lua5.4 time locales
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

# Wine reports a Japanese system (code page 932, language 0x411) only when the
# glibc locale named by LANG exists, so the Japanese-mode tests need it generated.
ensure_japanese_locale() {
  if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
    $SUDO localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
  fi
}

# The Windows builds compile libjpeg-turbo from Debian's source package
# (tools/build_jpeg_cross.sh), so apt needs the source indexes beside the
# binary ones: the machine's own sources, as deb-src.
ensure_source_indexes() {
  if grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ || grep -qs '^deb-src' /etc/apt/sources.list; then return 0; fi
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      $SUDO tee /etc/apt/sources.list.d/maqo-sources.sources >/dev/null
  elif [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | $SUDO tee /etc/apt/sources.list.d/maqo-sources.list >/dev/null
  fi
  $SUDO apt-get update -qq
}

if [ ${#missing[@]} -eq 0 ]; then
  ensure_japanese_locale
  ensure_source_indexes
  echo "setup: everything is installed"
  exit 0
fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
ensure_japanese_locale
ensure_source_indexes
echo "setup: installed ${missing[*]}"
