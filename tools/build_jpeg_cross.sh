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

src_root="$root/build/jpeg-src"
source_dir() { find "$src_root" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n1; }

todo=()
for t in "${triplets[@]}"; do
  [ -f "$root/build/jpeg-$t/lib/libjpeg.a" ] || todo+=("$t")
done
[ ${#todo[@]} -gt 0 ] || { echo "jpeg: already built"; exit 0; }

if [ -z "$(source_dir 2>/dev/null)" ]; then
  # apt-get source needs the source indexes that make setup adds. The source
  # is unpacked beside its final place and moved there whole, so an
  # interrupted run never leaves a half-unpacked tree that later runs accept.
  rm -rf "$src_root.tmp"
  mkdir -p "$src_root.tmp"
  (cd "$src_root.tmp" && apt-get source --download-only libjpeg-turbo >/dev/null &&
    dpkg-source --no-check -x ./libjpeg-turbo_*.dsc >/dev/null) ||
    { echo "jpeg: apt-get source libjpeg-turbo failed (run make setup for the source indexes)" >&2; exit 1; }
  rm -rf "$src_root"
  mv "$src_root.tmp" "$src_root"
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
  # The library last: it is the mark that the tree is complete.
  cp "$src/jpeglib.h" "$src/jmorecfg.h" "$src/jerror.h" "$root/build/jpeg-build-$t/jconfig.h" "$out/include/"
  cp "$root/build/jpeg-build-$t/libjpeg.a" "$out/lib/"
  echo "jpeg: built $out (SIMD $simd)"
done
