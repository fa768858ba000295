# Sourced by run.sh, test.sh and wine-run.sh: the environment the studio runs in under Wine.
# Everything lives under the build tree, so a clone never touches the user's own Wine set-up.

QV_ROOT="${QV_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
QV_BUILD="${QV_BUILD:-$QV_ROOT/build}"

export WINEPREFIX="${QV_WINEPREFIX:-$QV_BUILD/wineprefix}"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko install prompts: the studio needs neither.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# File names with Japanese characters ("Effect\爆発") need the glibc locale itself: without it Wine
# cannot turn them into Unix names. setup.sh generates it system-wide; where that was not possible it
# is built into the build tree and found through LOCPATH.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  if [ ! -e "$QV_BUILD/locale/ja_JP.UTF-8/LC_CTYPE" ] && command -v localedef >/dev/null 2>&1; then
    mkdir -p "$QV_BUILD/locale"
    localedef -i ja_JP -f UTF-8 "$QV_BUILD/locale/ja_JP.UTF-8" >/dev/null 2>&1 || true
  fi
  if [ -e "$QV_BUILD/locale/ja_JP.UTF-8/LC_CTYPE" ]; then export LOCPATH="$QV_BUILD/locale"; fi
fi
# ANSI code page 932: Wine takes it from the locale name. The shell that sources this file does not
# see a LOCPATH set here (only its children do), so its own complaint about the locale is silenced.
{ export LC_ALL=ja_JP.UTF-8; } 2>/dev/null

# A HOME of our own whose .asoundrc gives ALSA a null PCM, so DirectSound works without a sound card.
export QV_WINEHOME="$QV_BUILD/winehome"
export HOME="$QV_WINEHOME"

qv_log() { printf '[qv] %s\n' "$*" >&2; }

qv_prepare_home() {
  mkdir -p "$QV_WINEHOME"
  if [ ! -f "$QV_WINEHOME/.asoundrc" ]; then
    printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' > "$QV_WINEHOME/.asoundrc"
  fi
}

# Starts Xvfb with a window manager (openbox) when there is no display, as a desktop has one:
# windows maximise and owned windows stay above their owner. QV_XVFB_PID and QV_WM_PID are set when
# we started them. Xvfb picks a free display itself and reports it (-displayfd), so runs started side
# by side never share one.
qv_start_xvfb() {
  if [ -n "${DISPLAY:-}" ]; then return 0; fi
  local f
  f=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$f" >/dev/null 2>&1 &
  QV_XVFB_PID=$!
  local i n=
  for i in $(seq 1 200); do
    n=$(tr -dc 0-9 <"$f")
    if [ -n "$n" ] && [ -e "/tmp/.X11-unix/X$n" ]; then break; fi
    n=
    sleep 0.1
  done
  rm -f "$f"
  if [ -z "$n" ]; then
    qv_log "Xvfb did not start"
    return 1
  fi
  export DISPLAY=":$n"
  if command -v openbox >/dev/null 2>&1; then
    openbox --sm-disable >/dev/null 2>&1 &
    QV_WM_PID=$!
    # The manager announces itself on the root window once it manages windows.
    for i in $(seq 1 100); do
      if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then break; fi
      sleep 0.1
    done
  else
    qv_log "openbox is missing: windows run without a window manager"
  fi
}

qv_stop_xvfb() {
  if [ -n "${QV_WM_PID:-}" ]; then
    kill "$QV_WM_PID" 2>/dev/null || true
    wait "$QV_WM_PID" 2>/dev/null || true
    QV_WM_PID=
  fi
  if [ -n "${QV_XVFB_PID:-}" ]; then
    kill "$QV_XVFB_PID" 2>/dev/null || true
    wait "$QV_XVFB_PID" 2>/dev/null || true
    QV_XVFB_PID=
  fi
}

# Creates the project's Wine prefix once, with Japanese font stand-ins for the faces the studio asks for.
qv_ensure_prefix() {
  qv_prepare_home
  if [ -f "$WINEPREFIX/.qv-ready" ]; then return 0; fi
  qv_log "creating Wine prefix $WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  local lock="$WINEPREFIX.lock"
  (
    flock 9
    if [ -f "$WINEPREFIX/.qv-ready" ]; then exit 0; fi
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
    local reg="$QV_BUILD/qv-fonts.reg"
    # regedit reads .reg files as UTF-16 when they start with a BOM.
    printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
      '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
      '"ＭＳ 明朝"="IPAMincho"' '"ＭＳ Ｐ明朝"="IPAPMincho"' \
      '"ＭＳ ゴシック"="IPAGothic"' '"ＭＳ Ｐゴシック"="IPAPGothic"' \
      '"MS UI Gothic"="IPAPGothic"' '"MS Mincho"="IPAMincho"' '"MS Gothic"="IPAGothic"' \
      | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg"
    wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.qv-ready"
  ) 9>"$lock"
}

# Creates a Direct3D 9 device under Wine on $DISPLAY with build/win32/qv_d3d_check.exe (argument:
# the exe). Where that fails, prints one line that names what is missing and returns non-zero.
qv_check_d3d() {
  local exe=$1 out rc=0 line missing=() p
  out=$(mktemp)
  # Output through a file: Wine's helper processes would hold a pipe open.
  (cd "$(dirname "$exe")" && wine "$(basename "$exe")" >"$out" 2>/dev/null) || rc=$?
  line=$(tr -d '\r' <"$out" | head -n1)
  rm -f "$out"
  [ $rc -eq 0 ] && return 0
  for p in libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386 libgl1-mesa-dri; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    line="the OpenGL packages ${missing[*]} are missing (tools/setup.sh installs them)"
  elif ! xdpyinfo 2>/dev/null | grep -q GLX; then
    line="the X display $DISPLAY has no GLX extension"
  fi
  printf 'No Direct3D 9 device under Wine: %s\n' "${line:-qv_d3d_check.exe ended with status $rc}" >&2
  return 1
}
