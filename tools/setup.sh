#!/usr/bin/env bash
# Installs what building and running the studio needs on Debian 12, and nothing when it is all there.
set -eu

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

need_pkgs=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

for p in cmake g++ make googletest libbenchmark-dev clang libclang-rt-14-dev \
         g++-mingw-w64-i686 wine wine32:i386 xvfb xauth x11-utils \
         libgl1:i386 libgl1-mesa-dri:i386 libglx-mesa0:i386 openbox xdotool \
         fonts-ipafont-gothic fonts-ipafont-mincho imagemagick locales; do
  have_pkg "$p" || need_pkgs+=("$p")
done

if [ ${#need_pkgs[@]} -gt 0 ]; then
  echo "[setup] installing: ${need_pkgs[*]}" >&2
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  as_root apt-get update -q
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${need_pkgs[@]}"
fi

# Wine maps Japanese file names through the ja_JP.UTF-8 locale: generate it system-wide.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  echo "[setup] generating the ja_JP.UTF-8 locale" >&2
  if ! grep -qs '^ja_JP.UTF-8 UTF-8' /etc/locale.gen; then
    echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  fi
  as_root locale-gen >/dev/null
fi

# Wine runs 32-bit Linux processes. Some kernels have their 32-bit emulation switched off; there the
# i386 programs run through qemu's user-mode emulator, registered with binfmt_misc. qemu before 8
# ignores MAP_FIXED_NOREPLACE and Wine cannot place its shared user data, so take it from backports.
ld32=/usr/lib/i386-linux-gnu/ld-linux.so.2
if ! "$ld32" --version >/dev/null 2>&1; then
  qemu=/usr/bin/qemu-i386
  qver=$("$qemu" --version 2>/dev/null | sed -n 's/.*version \([0-9]*\)\..*/\1/p' | head -n1)
  if [ -z "$qver" ] || [ "$qver" -lt 8 ]; then
    echo "[setup] this kernel runs no 32-bit programs: installing qemu user-mode emulation" >&2
    if ! grep -rqs 'bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/; then
      echo 'deb http://deb.debian.org/debian bookworm-backports main' | as_root tee /etc/apt/sources.list.d/qv-backports.list >/dev/null
    fi
    as_root apt-get update -q
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends -t bookworm-backports qemu-user-static
  fi
  binfmt=/proc/sys/fs/binfmt_misc
  [ -e "$binfmt/register" ] || as_root mount -t binfmt_misc binfmt_misc "$binfmt"
  # Re-register every time: the F flag pins the interpreter file that was current at registration.
  [ -e "$binfmt/qemu-i386" ] && { echo -1 | as_root tee "$binfmt/qemu-i386" >/dev/null; }
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:F' \
    | as_root tee "$binfmt/register" >/dev/null
  if ! "$ld32" --version >/dev/null 2>&1; then
    echo "[setup] 32-bit programs still do not run; Wine cannot start" >&2
    exit 1
  fi
fi
