#!/usr/bin/env bash
# Installs what building, testing and running the studio needs on Debian 12, and says nothing when
# it is all there. Safe to run again at any point, also after an install that was cut short.
set -eu

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}
say() { printf '[setup] %s\n' "$*" >&2; }
apt_install() { as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$@"; }

# Wine's i386 processes need a kernel that runs 32-bit programs. Some have that switched off; there
# they run through qemu's user-mode emulator, registered with binfmt_misc. This must be in place
# before any i386 package is installed: their install scripts run i386 programs too.
# The probe is a 96-byte i386 program that only exits with status 0.
runs_32bit() {
  local probe rc
  probe=$(mktemp "${TMPDIR:-/tmp}/qv-probe32.XXXXXX")
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80\x90\x90\x90' >"$probe"
  chmod +x "$probe"
  rc=0
  "$probe" 2>/dev/null || rc=$?
  rm -f "$probe"
  return $rc
}

binfmt=/proc/sys/fs/binfmt_misc
qemu=/usr/bin/qemu-i386
# qemu before 8 ignores MAP_FIXED_NOREPLACE and Wine cannot place its shared user data, so a
# registered older emulator counts as none.
qemu_too_old() {
  [ -e "$binfmt/qemu-i386" ] && grep -qx enabled "$binfmt/qemu-i386" || return 1
  local interp ver
  interp=$(sed -n 's/^interpreter //p' "$binfmt/qemu-i386")
  [ -x "$interp" ] || return 1   # pinned from elsewhere (F flag), e.g. a chroot's host: trust it
  ver=$("$interp" --version 2>/dev/null | sed -n 's/.*version \([0-9]*\)\..*/\1/p' | head -n1)
  [ -n "$ver" ] && [ "$ver" -lt 8 ]
}

if ! runs_32bit || qemu_too_old; then
  say "this kernel runs no 32-bit programs: installing qemu user-mode emulation"
  if ! grep -rqs 'bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    echo 'deb http://deb.debian.org/debian bookworm-backports main' | as_root tee /etc/apt/sources.list.d/qv-backports.list >/dev/null
  fi
  # An install cut short before now leaves dpkg's journal, and apt installs nothing until that is
  # replayed; i386 packages among it can only finish once the emulator is in (below).
  as_root env DEBIAN_FRONTEND=noninteractive dpkg --configure -a >/dev/null 2>&1 || true
  as_root apt-get update -q
  apt_install -t bookworm-backports qemu-user-static || [ -x "$qemu" ]
  [ -e "$binfmt/register" ] || as_root mount -t binfmt_misc binfmt_misc "$binfmt"
  # F pins the emulator file as it is now, so it also serves programs started in a chroot.
  if [ -e "$binfmt/qemu-i386" ]; then echo -1 | as_root tee "$binfmt/qemu-i386" >/dev/null; fi
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$qemu"':F' \
    | as_root tee "$binfmt/register" >/dev/null
  if ! runs_32bit; then
    say "32-bit programs still do not run, so Wine cannot start: is binfmt_misc available?"
    exit 1
  fi
fi

# An install that was cut short (or whose i386 scripts failed before the emulator was registered)
# leaves packages half-configured, and apt refuses to go on until they are finished.
if [ -n "$(dpkg --audit 2>/dev/null)" ]; then
  say "finishing packages left half-installed"
  as_root env DEBIAN_FRONTEND=noninteractive dpkg --configure -a
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -f -y -q --no-install-recommends
fi

# Build: CMake, GCC, MinGW-w64 (i686), GoogleTest (built for the native tests, sources for MinGW),
# Google Benchmark, clang with libFuzzer.
# Run: Wine (32-bit), and the 32-bit Mesa drivers and GL loader without which Wine creates no
# Direct3D device (they are only recommended, so they are named here); Xvfb with its own software
# GL, openbox and xdotool for the virtual display; Japanese fonts and locale; ImageMagick for
# screenshots; ffmpeg's ffprobe reads the recorded AVI; python3 runs the layer check.
native=$(dpkg --print-architecture)
installed=$(dpkg-query -W -f='${db:Status-Abbrev} ${Package}:${Architecture}\n' 2>/dev/null | sed -n 's/^ii  *//p')
need_pkgs=()
for p in cmake g++ make googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev \
         g++-mingw-w64-i686 wine wine32:i386 xvfb xauth x11-utils libgl1-mesa-dri \
         libgl1:i386 libgl1-mesa-dri:i386 libglx-mesa0:i386 openbox xdotool \
         fonts-ipafont-gothic fonts-ipafont-mincho imagemagick locales ffmpeg python3; do
  case "$p" in *:*) ;; *) p="$p:$native" ;; esac
  grep -qx -e "$p" -e "${p%:*}:all" <<<"$installed" || need_pkgs+=("${p%:$native}")
done

if [ ${#need_pkgs[@]} -gt 0 ]; then
  say "installing: ${need_pkgs[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  as_root apt-get update -q
  apt_install "${need_pkgs[@]}"
fi

# Wine maps Japanese file names through the ja_JP.UTF-8 locale: generate it system-wide.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  say "generating the ja_JP.UTF-8 locale"
  if ! grep -qs '^ja_JP.UTF-8 UTF-8' /etc/locale.gen; then
    echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  fi
  as_root locale-gen >/dev/null
fi
