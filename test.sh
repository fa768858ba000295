#!/usr/bin/env bash
# Builds everything and runs every test: native unit tests, the same under ASan and UBSan, the
# fuzzers for a short while, the benchmarks once, and the Wine tests against the real studio.
# Installs what is missing first (Debian 12; as root or through sudo).
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)
jobs=${QV_JOBS:-$(nproc 2>/dev/null || echo 2)}

tools/setup.sh
echo "== layer check"
python3 tools/check_layers.py


configure() { # dir, extra args...
  local dir=$1; shift
  cmake -S "$root" -B "$root/build/$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
}

echo "== build: native"
configure native
cmake --build build/native -j "$jobs"
echo "== build: sanitizers"
configure asan -DQV_SANITIZE=ON -DQV_BENCH=OFF
cmake --build build/asan -j "$jobs"
echo "== build: win32"
configure win32 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"
cmake --build build/win32 -j "$jobs"
if ls tests/fuzz/fuzz_*.cpp >/dev/null 2>&1; then
  echo "== build: fuzzers"
  CC=clang CXX=clang++ configure fuzz -DQV_FUZZ=ON -DQV_FUZZ_SECONDS="${QV_FUZZ_SECONDS:-15}"
  cmake --build build/fuzz -j "$jobs"
fi

echo "== test: native"
ctest --test-dir build/native --output-on-failure
# The committed generated files must be what their generators make.
build/native/qv_datagen --check "$root"
echo "== test: sanitizers"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build/asan --output-on-failure
if [ -d build/fuzz ]; then
  echo "== test: fuzzers"
  ctest --test-dir build/fuzz --output-on-failure -j "$jobs"
fi
if [ -x build/native/qv_bench ]; then
  echo "== benchmarks"
  build/native/qv_bench --benchmark_min_time="${QV_BENCH_MIN_TIME:-0.05}"
fi

echo "== test: wine"
. tools/wine-env.sh
qv_ensure_prefix
qv_start_xvfb
cleanup() { wineserver -k 2>/dev/null || true; qv_stop_xvfb; }
trap cleanup EXIT
wineserver -p 2>/dev/null || true
# Every Wine test needs a Direct3D device: where none can be made, say why once and stop.
qv_check_d3d build/win32/qv_d3d_check.exe || exit 1
ctest --test-dir build/win32 --output-on-failure
if [ -f build/win32/qv_frame_bench.exe ]; then
  echo "== benchmarks: wine"
  tools/wine-run.sh build/win32/qv_frame_bench.exe
fi
echo "== all tests passed"
