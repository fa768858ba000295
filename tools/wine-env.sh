# Sourced by run.sh, test.sh and wine-run.sh: the environment the studio runs in under Wine.
# Everything lives under the build tree, so a clone never touches the user's own Wine set-up.

QV_ROOT="${QV_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
QV_BUILD="${QV_BUILD:-$QV_ROOT/build}"

export WINEPREFIX="${QV_WINEPREFIX:-$QV_BUILD/wineprefix}"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko install prompts: the studio needs neither.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# ANSI code page 932: Wine takes it from the locale name even without the glibc locale.
export LC_ALL=ja_JP.UTF-8
# File names with Japanese characters ("Effect\爆発") need the glibc locale itself: without it Wine
# cannot turn them into Unix names. Built once into the build tree from the locales package's source.
if [ ! -e "$QV_BUILD/locale/ja_JP.UTF-8/LC_CTYPE" ] && command -v localedef >/dev/null 2>&1; then
  mkdir -p "$QV_BUILD/locale"
  localedef -i ja_JP -f UTF-8 "$QV_BUILD/locale/ja_JP.UTF-8" >/dev/null 2>&1 || true
fi
if [ -e "$QV_BUILD/locale/ja_JP.UTF-8/LC_CTYPE" ]; then export LOCPATH="$QV_BUILD/locale"; fi
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

# Starts Xvfb when there is no display; QV_XVFB_PID is set when we started one. Xvfb picks a free
# display itself and reports it (-displayfd), so runs started side by side never share one.
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
}

qv_stop_xvfb() {
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
