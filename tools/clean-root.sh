#!/usr/bin/env bash
# Proves that ./test.sh passes on a fresh Debian 12 machine: builds a clean bookworm root with
# debootstrap, puts a clone of this repository's committed HEAD in it, and runs ./test.sh there
# (which installs everything through tools/setup.sh). Prints how long each step took and the result;
# everything also goes to <root>.log.
#
# Usage: tools/clean-root.sh [root]        (default /work/cleanroot; as root; the root is remade)
#
# The root runs in a user namespace of its own (uids mapped one to one), with its own mounts, its
# own process tree and an empty binfmt_misc, so it sees what a fresh machine sees: where this kernel
# runs no 32-bit programs, setup.sh must install and register qemu there itself. Where the kernel
# cannot give a namespace its own binfmt_misc, the root shares the machine's registrations.
set -euo pipefail

if [ "${1:-}" = "--inside" ]; then
  # In the new namespaces: mount what the root needs and run the tests in it.
  r=$2
  mount -t proc proc "$r/proc" 2>/dev/null || mount --rbind /proc "$r/proc"
  mount --rbind /sys "$r/sys"
  mount --rbind /dev "$r/dev"
  mount -t tmpfs -o mode=1777,nosuid,nodev tmpfs "$r/dev/shm"
  mkdir -p "$r/tmp/.X11-unix"
  chmod 1777 "$r/tmp" "$r/tmp/.X11-unix"
  # Shared with the machine: Xvfb then sees which display numbers are taken.
  if [ -d /tmp/.X11-unix ]; then mount --bind /tmp/.X11-unix "$r/tmp/.X11-unix"; fi
  b="$r/proc/sys/fs/binfmt_misc"
  mount -t binfmt_misc binfmt_misc "$b" 2>/dev/null || true
  if [ "$(ls "$b" 2>/dev/null | grep -vx -e register -e status)" = "" ]; then
    echo "[clean-root] binfmt_misc: empty, as on a fresh machine"
  else
    echo "[clean-root] binfmt_misc: shared with the machine (" $(ls "$b" | grep -vx -e register -e status) ")"
  fi
  cp -L /etc/resolv.conf "$r/etc/resolv.conf"
  exec chroot "$r" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    QV_JOBS="${QV_JOBS:-3}" \
    bash -c 'cd /root/studio && ./test.sh'
fi

repo=$(cd "$(dirname "$0")/.." && pwd)
root=$(realpath -m "${1:-/work/cleanroot}")
log="$root.log"
mirror=${QV_MIRROR:-http://deb.debian.org/debian}
[ "$(id -u)" -eq 0 ] || { echo "clean-root.sh: run as root" >&2; exit 1; }
case "$root" in /|/usr|/usr/*|/etc|/etc/*|/home|/root|/var|/bin|/sbin|/lib*|/boot*|/proc*|/sys*|/dev*)
  echo "clean-root.sh: refusing to use $root" >&2; exit 1;; esac
exec > >(tee "$log") 2>&1

start=$SECONDS
step() { printf '[clean-root] %s (%dm%02ds)\n' "$1" $(((SECONDS - start) / 60)) $(((SECONDS - start) % 60)); }

step "root $root, repository $repo at $(git -C "$repo" rev-parse --short HEAD)"
if ! command -v debootstrap >/dev/null 2>&1; then
  step "installing debootstrap"
  apt-get update -q >/dev/null
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends debootstrap >/dev/null
fi

if [ -e "$root" ]; then
  # Never delete through a mount left from an earlier run.
  if grep -q " $root[/ ]" /proc/mounts; then
    grep " $root[/ ]" /proc/mounts | awk '{print $2}' | sort -r | xargs -r -n1 umount -l
  fi
  if grep -q " $root[/ ]" /proc/mounts; then
    echo "clean-root.sh: $root still has mounts; not removing it" >&2; exit 1
  fi
  rm -rf --one-file-system "$root"
fi

step "debootstrap bookworm"
debootstrap --arch=amd64 bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 \
  || { tail -n 20 "$root.debootstrap.log"; echo "clean-root: debootstrap failed"; exit 1; }
# The sources a Debian 12 installation has.
cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb ${mirror%/debian}/debian-security bookworm-security main
EOF
rm -f "$root.debootstrap.log"

step "cloning the repository"
git clone -q --no-hardlinks "$repo" "$root/root/studio"
git -C "$root/root/studio" checkout -q "$(git -C "$repo" rev-parse HEAD)"

step "running ./test.sh in the root"
# The namespace's uid and gid maps are written from here, after unshare made it and before the
# script inside goes on: one to one, so files keep their owners and apt can drop to its own user.
# (Where user namespaces are switched off, the root shares the machine's binfmt_misc.)
userns=--user
unshare --user true 2>/dev/null || userns=
sync=$(mktemp -u)
mkfifo "$sync"
unshare $userns --mount --pid --fork --kill-child --propagation private -- \
  bash -c 'read -r _ <"$0"; exec "$@"' "$sync" "$repo/tools/clean-root.sh" --inside "$root" &
pid=$!
if [ -n "$userns" ]; then
  for _ in $(seq 1 100); do
    [ "$(readlink /proc/$pid/ns/user)" != "$(readlink /proc/self/ns/user)" ] && break
    sleep 0.05
  done
  echo '0 0 4294967295' >"/proc/$pid/uid_map"
  echo '0 0 4294967295' >"/proc/$pid/gid_map"
fi
echo go >"$sync"
rc=0
wait $pid || rc=$?
rm -f "$sync"

took=$((SECONDS - start))
if [ $rc -eq 0 ]; then result=passed; else result="FAILED (exit $rc)"; fi
printf '[clean-root] fresh Debian 12 root: ./test.sh %s; %dm%02ds in all\n' "$result" $((took / 60)) $((took % 60))
exit $rc
