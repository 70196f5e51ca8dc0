#!/usr/bin/env bash
# Installs the build into a fresh prefix, checks what is there, and builds
# and runs the tiny program against it twice: with pkg-config and with the
# CMake package.
#   install_test.sh BUILD_DIR SOURCE_DIR C_COMPILER "C_FLAGS" "LINK_FLAGS"
set -euo pipefail
build=$1 source=$2 cc=$3 cflags=$4 ldflags=$5
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix/root" >/dev/null
root=$prefix/root
libdir=$(cd "$root" && dirname "$(find . -name 'libinkrec.so' | head -1)")
[ "$libdir" != . ] || fail "no libinkrec.so installed"
for f in include/inkrec/inkrec.h "$libdir/pkgconfig/inkrec.pc" \
         "$libdir/cmake/inkrec/inkrecConfig.cmake" bin/inkrec; do
  [ -f "$root/$f" ] || fail "$f not installed"
done
cmp -s "$source/include/inkrec/inkrec.h" "$root/include/inkrec/inkrec.h" || fail "header differs"
for f in "$source"/data/*.dt "$source"/data/*.wlb; do
  [ -e "$f" ] || continue
  cmp -s "$f" "$root/share/inkrec/$(basename "$f")" || fail "default data $(basename "$f") not installed"
done
for f in bin/ductra-device bin/Ductra "$libdir/libquillpad.so" "$libdir/libtapshim.so" \
         "$libdir/libtapshim_replay_driver.so" "$libdir/libtapshim_x11_driver.so" share/applications/ductra.desktop; do
  [ -e "$root/$f" ] || fail "$f not installed"
done
"$root/bin/ductra-device" --help | grep -q "^usage: ductra-device" || fail "installed device"
"$root/bin/inkrec" --help | grep -q "^usage: inkrec recognize" || fail "installed tool"

expected="inkrec $("$root/bin/inkrec" version | cut -d' ' -f2)"
# shellcheck disable=SC2046,SC2086
PKG_CONFIG_PATH=$root/$libdir/pkgconfig \
  "$cc" $cflags "$source/tests/install/tiny_program.c" -o "$prefix/by_pkg_config" $ldflags \
  $(PKG_CONFIG_PATH=$root/$libdir/pkgconfig pkg-config --cflags --libs inkrec) \
  -Wl,-rpath,"$root/$libdir"
[ "$("$prefix/by_pkg_config" | head -1)" = "$expected" ] || fail "pkg-config build"

cmake -S "$source/tests/install/consumer" -B "$prefix/consumer" -G Ninja \
  -DCMAKE_PREFIX_PATH="$root" -DCMAKE_C_COMPILER="$cc" -DCMAKE_C_FLAGS="$cflags" \
  -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build "$prefix/consumer" >/dev/null
[ "$("$prefix/consumer/tiny_program" | head -1)" = "$expected" ] || fail "CMake package build"

# The installed default data, when the source tree has it, is what the
# installed tool and the tiny program start on.
if [ -e "$root/share/inkrec/qlmain.dt" ]; then
  "$prefix/consumer/tiny_program" "$root/share/inkrec/qlmain.dt" | grep -q "^charsets: " \
    || fail "the tiny program cannot start on the installed data"
  lines=$("$root/bin/inkrec" recognize "$source/data/samples/samples.txt" --json | wc -l)
  [ "$lines" = "$(wc -l < "$source/data/samples/samples.txt")" ] || fail "installed tool on its data"
fi
echo "installed and built against: $root"
