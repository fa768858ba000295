#!/usr/bin/env bash
# Builds the studio and starts it under Wine: on your display when there is one; otherwise on a
# virtual display, saving build/screenshot.png once it has started and then stopping it.
# Arguments are passed to the studio (a .qvp file opens in the 3D model editor).
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)
tools/setup.sh
cmake -S "$root" -B "$root/build/win32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build build/win32 -j "${QV_JOBS:-$(nproc 2>/dev/null || echo 2)}" --target studio qv_d3d_check

. tools/wine-env.sh
qv_ensure_prefix
args=()
for a in "$@"; do
  if [ -e "$a" ]; then args+=("$(winepath -w "$(realpath "$a")" 2>/dev/null)"); else args+=("$a"); fi
done
exe="$root/build/win32/QVViduzaRozar.exe"
cd "$root/build/win32"
if [ -n "${DISPLAY:-}" ]; then
  qv_check_d3d "$root/build/win32/qv_d3d_check.exe" || exit 1
  exec wine "$exe" "${args[@]}"
fi
qv_start_xvfb
trap 'wineserver -k 2>/dev/null || true; qv_stop_xvfb' EXIT
qv_check_d3d "$root/build/win32/qv_d3d_check.exe" || exit 1
# The virtual display runs a window manager (openbox), as a desktop does: the studio maximises and
# its tool windows stay above it.
wine "$exe" "${args[@]}" &
studio=$!
disown $studio  # ended by wineserver -k on exit, which is no news
# Start-up takes from seconds to a minute (more through qemu): the picture is taken once the
# studio's windows have stopped appearing, moving and resizing for a few seconds.
windows() { xwininfo -root -tree 2>/dev/null | grep -i '"qvviduzarozar\.exe"' | grep -v '"Default IME"' || true; }
last= same=0
for _ in $(seq 1 "${QV_SCREENSHOT_WAIT:-180}"); do
  kill -0 $studio 2>/dev/null || break
  now=$(windows)
  if [ -n "$now" ] && [ "$now" = "$last" ]; then same=$((same + 1)); else same=0; fi
  last=$now
  [ $same -ge 5 ] && break
  sleep 1
done
sleep 2
import -window root "$root/build/screenshot.png"
echo "screenshot: build/screenshot.png"
