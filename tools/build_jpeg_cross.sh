#!/usr/bin/env bash
# Builds libjpeg-turbo for the Windows trees from Debian's source package:
# Debian ships no mingw build of it. The result goes to build/jpeg-<triplet>
# (lib/libjpeg.a, include/), which cmake/jpeg.cmake picks up; a second run
# finds it there and does nothing. SIMD needs nasm; without it the library is
# built without SIMD.
# Usage: tools/build_jpeg_cross.sh [i686-w64-mingw32 | x86_64-w64-mingw32] ...
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
triplets=("$@")
[ ${#triplets[@]} -gt 0 ] || triplets=(i686-w64-mingw32 x86_64-w64-mingw32)
SUDO=$([ "$(id -u)" -ne 0 ] && echo sudo || true)

src_root="$root/build/jpeg-src"
source_dir() { find "$src_root" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n1; }

todo=()
for t in "${triplets[@]}"; do
  [ -f "$root/build/jpeg-$t/lib/libjpeg.a" ] || todo+=("$t")
done
[ ${#todo[@]} -gt 0 ] || { echo "jpeg: already built"; exit 0; }

if [ -z "$(source_dir 2>/dev/null)" ]; then
  # apt-get source needs the source indexes; add them once beside the binary ones.
  if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
    printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: bookworm\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' |
      $SUDO tee /etc/apt/sources.list.d/maqo-sources.sources >/dev/null
    $SUDO apt-get update -qq
  fi
  mkdir -p "$src_root"
  (cd "$src_root" && apt-get source --download-only libjpeg-turbo >/dev/null &&
    dpkg-source --no-check -x ./libjpeg-turbo_*.dsc >/dev/null)
fi
src=$(source_dir)
[ -n "$src" ] || { echo "jpeg: no libjpeg-turbo source" >&2; exit 1; }

simd=OFF
command -v nasm >/dev/null && simd=ON
for t in "${todo[@]}"; do
  case "$t" in i686*) proc=x86 ;; *) proc=AMD64 ;; esac
  out="$root/build/jpeg-$t"
  cmake -S "$src" -B "$root/build/jpeg-build-$t" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=$proc -DCMAKE_C_COMPILER="$t-gcc-posix" \
    -DCMAKE_RC_COMPILER="$t-windres" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
    -DWITH_SIMD=$simd -DCMAKE_INSTALL_PREFIX="$out" >/dev/null
  cmake --build "$root/build/jpeg-build-$t" --target jpeg-static >/dev/null
  mkdir -p "$out/lib" "$out/include"
  cp "$root/build/jpeg-build-$t/libjpeg.a" "$out/lib/"
  cp "$src/jpeglib.h" "$src/jmorecfg.h" "$src/jerror.h" "$root/build/jpeg-build-$t/jconfig.h" "$out/include/"
  echo "jpeg: built $out (SIMD $simd)"
done
