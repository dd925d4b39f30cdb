#!/usr/bin/env bash
# Installs, upgrades and purges the two packages with apt in a Debian root
# where systemd does not run, as in a container, and checks what each step
# leaves:
#   chroot-install.sh BASE_ROOT PACKAGE_DIR UPGRADE_PACKAGE_DIR
# BASE_ROOT is a plain Debian root of the packages' release, made once with
#   debootstrap --variant=minbase bookworm BASE_ROOT http://deb.debian.org/debian
# and left untouched: each run works in a copy. PACKAGE_DIR holds the
# packages to install first, UPGRADE_PACKAGE_DIR a rebuild with a higher
# version, e.g. `cpack -G DEB -B DIR -D CPACK_PACKAGE_VERSION=0.1.1`. Needs
# root and the network (apt fetches the packages' dependencies), and takes
# minutes, so it runs by hand rather than in `make test`.
# With DX_CHROOT_RECOMMENDS=1 apt also installs the recommended packages,
# which bring systemd itself: installed, as in many containers, but not
# running.
set -euo pipefail

if [ $# -ne 3 ]; then
  echo "usage: chroot-install.sh BASE_ROOT PACKAGE_DIR UPGRADE_PACKAGE_DIR" >&2
  exit 2
fi
base=$1
first=$2
upgrade=$3

work=$(mktemp -d /var/tmp/distrato-chroot.XXXXXX)
root="$work/root"
cleanup() {
  umount "$root/proc" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "chroot-install: $*" >&2; exit 1; }
step() { echo "== $*"; }
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LC_ALL=C.UTF-8 "$@"; }

cp -a "$base" "$root"
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"
[ ! -e "$root/run/systemd/system" ] || fail "systemd runs in the root"
mkdir -p "$root/tmp/first" "$root/tmp/upgrade"
cp "$first"/distrato-*.deb "$root/tmp/first/"
cp "$upgrade"/distrato-*.deb "$root/tmp/upgrade/"
# Paths inside the root, as apt there sees them.
debs_in() { (cd "$root" && ls "tmp/$1"/distrato-server_*.deb "tmp/$1"/distrato-client_*.deb | sed 's|^|/|'); }
recommends=--no-install-recommends
[ "${DX_CHROOT_RECOMMENDS:-0}" = 1 ] && recommends=--install-recommends
apt_get() {
  in_root env DEBIAN_FRONTEND=noninteractive apt-get -y -q $recommends -o Dpkg::Options::=--force-confold "$@"
}
# deb-systemd-helper answers outside dpkg only when told for which package.
unit_enabled() {
  in_root env DPKG_MAINTSCRIPT_PACKAGE=distrato-server deb-systemd-helper is-enabled dxr10900-server.service
}

step "install (and man-db, to read the pages)"
apt_get update >/dev/null
apt_get install man-db >/dev/null
apt_get install $(debs_in first)
in_root dpkg-query -W -f='${Package} ${Version} ${Status}\n' distrato-server distrato-client

step "what the install left"
in_root getent passwd dxr10900 || fail "no system user"
[ "$(in_root stat -c '%U:%G %a' /var/lib/dxr10900)" = "dxr10900:dxr10900 750" ] || fail "/var/lib/dxr10900 is not the service's"
unit_enabled || fail "the unit is not enabled"
if [ -e "$root/lib/systemd/systemd" ]; then echo "systemd is installed, not running"; else echo "no systemd"; fi
[ -L "$root/etc/systemd/system/multi-user.target.wants/dxr10900-server.service" ] || fail "no link that starts the unit at boot"
in_root man -w dxr10900-server
in_root env MANWIDTH=80 man -P cat dxr10900-server | head -n 8
for program in distrato dxr10900-call distrato-script; do
  in_root man -w "$program" >/dev/null || fail "no manual page for $program"
done

step "the server, started as the manual page says where systemd does not run"
db=/var/lib/dxr10900/distrato.db
in_root runuser -u dxr10900 -- dxr10900-server --db "$db" --init-demo >/dev/null
in_root runuser -u dxr10900 -- sh -c "echo \$\$ >/tmp/server.pid; exec dxr10900-server --db $db --listen 127.0.0.1:0" \
  >"$work/server.log" 2>&1 &
addr=""
for _ in $(seq 1 100); do
  addr=$(sed -n 's/^listening on //p' "$work/server.log" | head -n 1 || true)
  [ -n "$addr" ] && break
  sleep 0.1
done
[ -n "$addr" ] || { cat "$work/server.log" >&2; fail "the installed server did not start"; }
in_root env DX_PASSWORD=DISTRATO dxr10900-call --server "$addr" --operator SUPERVISOR GetPesqOrca 0001 | head -c 120
echo
kill "$(cat "$root/tmp/server.pid")"
wait

step "upgrade to the rebuilt packages, with the configuration edited"
echo "# edited by the administrator" >>"$root/etc/dxr10900-server.conf"
apt_get install $(debs_in upgrade)
in_root dpkg-query -W -f='${Package} ${Version} ${Status}\n' distrato-server distrato-client
grep -q '^# edited by the administrator$' "$root/etc/dxr10900-server.conf" || fail "the upgrade lost the edited configuration"
[ -s "$root$db" ] || fail "the upgrade lost the database"
unit_enabled || fail "the upgrade disabled the unit"

step "purge"
apt_get purge distrato-server distrato-client
# Purged, a package is unknown to dpkg, or known as not installed.
left=$(in_root dpkg-query -W -f='${Package} ${Status}\n' distrato-server distrato-client 2>/dev/null |
       grep -v ' not-installed$' || true)
[ -z "$left" ] || fail "dpkg still knows the packages: $left"
[ ! -e "$root/etc/dxr10900-server.conf" ] || fail "purge left the configuration"
[ -z "$(ls "$root"/etc/dxr10900-server.conf.* 2>/dev/null)" ] || fail "purge left copies of the configuration"
[ ! -e "$root/etc/systemd/system/multi-user.target.wants/dxr10900-server.service" ] || fail "purge left the unit's link"
[ -z "$(find "$root/var/lib/systemd/deb-systemd-helper-enabled" -name '*dxr10900*' 2>/dev/null)" ] ||
  fail "purge left the unit's enablement state"
[ -s "$root$db" ] || fail "purge removed the database"
in_root getent passwd dxr10900 >/dev/null || fail "purge removed the user that owns the database"
in_root ls -l /var/lib/dxr10900
echo "chroot-install: installed, upgraded and purged without systemd"
