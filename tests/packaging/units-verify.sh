#!/usr/bin/env bash
# systemd's own checker accepts the server package's units as the package
# installs them: the server's service, and the daily backup's service and
# timer, each starting a program the package really holds.
#   units-verify.sh PACKAGE_DIR
set -euo pipefail
if [ $# -ne 1 ]; then
  echo "usage: units-verify.sh PACKAGE_DIR" >&2
  exit 2
fi
debs=("$1"/distrato-server_*.deb)
[ -f "${debs[0]}" ] || { echo "units-verify: no distrato-server package in $1" >&2; exit 1; }
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "${debs[0]}" "$root"

units=(dxr10900-server.service dxr10900-backup.service dxr10900-backup.timer)
for unit in "${units[@]}"; do
  [ -f "$root/lib/systemd/system/$unit" ] || { echo "units-verify: the package lacks $unit" >&2; exit 1; }
done
# Every program a unit starts is in the package.
for exe in $(sed -n 's/^ExecStart=\([^ ]*\).*/\1/p' "$root"/lib/systemd/system/*.service); do
  [ -x "$root$exe" ] || { echo "units-verify: $exe, started by a unit, is not in the package" >&2; exit 1; }
done
# The checker reads the units from the package's tree, beside the system's
# own (the targets they are wanted by), and their manual page from it too;
# what it says on standard error is a finding.
cp -rn /lib/systemd/system/. "$root/lib/systemd/system/"
findings=$(cd "$root/lib/systemd/system" &&
  MANPATH="$root/usr/share/man" systemd-analyze verify --root="$root" "${units[@]}" 2>&1 >/dev/null) || {
  echo "$findings" >&2
  echo "units-verify: systemd-analyze refuses the units" >&2
  exit 1
}
if [ -n "$findings" ]; then
  echo "$findings" >&2
  echo "units-verify: systemd-analyze has findings on the units" >&2
  exit 1
fi
echo "units-verify: ${units[*]}: accepted by systemd-analyze verify"
