#!/usr/bin/env bash
# Runs a command in a fresh Debian 12 machine: a minbase root made by debootstrap (once, then
# kept as a tarball), with the committed tree (git archive HEAD) copied into /src and nothing else
# installed, so every package the command needs must come from the project's own scripts.
#   tools/fresh.sh 'tools/test.sh'            (run as root; the command runs in /src, as root)
#   ZL_FRESH_CACHE=DIR   where the tarball is kept (default /var/cache/zakony-logiki-fresh)
#   ZL_FRESH_KEEP=1      leave the root in place afterwards, to look into
set -euo pipefail
cd "$(dirname "$0")/.."

[ $# -eq 1 ] || { echo "usage: tools/fresh.sh 'COMMAND'" >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || { echo "tools/fresh.sh needs root (debootstrap, chroot, mount)" >&2; exit 2; }

suite=bookworm
mirror=http://deb.debian.org/debian
cache="${ZL_FRESH_CACHE:-/var/cache/zakony-logiki-fresh}"
tarball="$cache/$suite-minbase.tar"

for tool in debootstrap; do
  command -v "$tool" >/dev/null || {
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$tool"
  }
done

# A root under /var/tmp: every user must be able to enter it, since the journal tests run the
# program as other Unix users (mktemp -d alone leaves it 0700).
root=$(mktemp -d /var/tmp/zakony-fresh.XXXXXX)
chmod 0755 "$root"

cleanup() {
  for m in dev sys proc; do
    mountpoint -q "$root/$m" && umount -R -l "$root/$m"
  done
  if [ "${ZL_FRESH_KEEP:-}" = 1 ]; then
    echo "fresh root kept in $root" >&2
  else
    rm -rf --one-file-system "$root"
  fi
}
trap cleanup EXIT

if [ ! -s "$tarball" ]; then
  echo "fresh root: debootstrap --variant=minbase $suite (kept as $tarball)"
  start=$SECONDS
  debootstrap --variant=minbase "$suite" "$root" "$mirror" >"$root.debootstrap.log" 2>&1 || {
    tail -20 "$root.debootstrap.log" >&2
    exit 1
  }
  rm -f "$root.debootstrap.log"
  # The same archive as a new machine's apt: the release, its updates and security updates.
  cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror $suite main
deb $mirror $suite-updates main
deb http://deb.debian.org/debian-security $suite-security main
EOF
  rm -rf "$root"/var/cache/apt/archives/*.deb "$root"/var/lib/apt/lists/*
  mkdir -p "$cache"
  tar -C "$root" -cf "$tarball.part" . && mv "$tarball.part" "$tarball"
  echo "fresh root: made in $((SECONDS - start)) s"
else
  tar -C "$root" -xf "$tarball"
fi

cp /etc/resolv.conf "$root/etc/resolv.conf"
mkdir -p "$root/src"
git archive HEAD | tar -x -C "$root/src"

mount -t proc proc "$root/proc"
mount --rbind /sys "$root/sys" && mount --make-rslave "$root/sys"
mount --rbind /dev "$root/dev" && mount --make-rslave "$root/dev"

echo "fresh root: running '$1' in $root/src"
start=$SECONDS
status=0
env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  TERM="${TERM:-dumb}" CI="${CI:-}" FUZZ_TIME="${FUZZ_TIME:-60}" \
  chroot "$root" /bin/bash -c "cd /src && $1" || status=$?
echo "fresh root: '$1' exit $status in $((SECONDS - start)) s"
exit "$status"
