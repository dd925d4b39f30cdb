#!/usr/bin/env bash
# Unpacks the Debian packages of an already built tree (build-packages.sh)
# into a temporary root (dpkg -x) and runs what they installed:
#   package-install.sh BUILD_DIR PACKAGE_DIR SCENARIO
# each package carries its copyright, changelog and manual pages; the
# client's dependencies cover the libraries its programs link; every
# program answers --version and --help without a display; the
# installed server serves a demo database and the installed dxr10900-call
# calls it; the installed distrato-script loads the installed module and
# runs SCENARIO against that server. Then `cmake --install --prefix` puts the
# same programs, module and documentation into a plain folder.
set -euo pipefail

if [ $# -ne 3 ]; then
  echo "usage: package-install.sh BUILD_DIR PACKAGE_DIR SCENARIO" >&2
  exit 2
fi
build=$1
packages=$2
scenario=$3

work=$(mktemp -d)
server=""
cleanup() {
  if [ -n "$server" ]; then
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "package-install: $*" >&2; exit 1; }

# --- the packages
server_deb=$(ls "$packages"/distrato-server_*.deb)
client_deb=$(ls "$packages"/distrato-client_*.deb)
root="$work/root"
dpkg -x "$server_deb" "$root"
dpkg -x "$client_deb" "$root"

for pkg in "$server_deb" "$client_deb"; do
  depends=$(dpkg-deb -f "$pkg" Depends)
  [[ "$depends" == *libsqlite3-0* && "$depends" == *libsodium23* ]] || fail "$pkg: Depends lacks the libraries: $depends"
done
[[ "$(dpkg-deb -f "$client_deb" Depends)" == *libqt6widgets6* ]] || fail "the client package does not depend on Qt"
# Read whole before grep -q looks: grep leaving early would break the pipe
# under pipefail.
control=$(dpkg-deb --ctrl-tarfile "$server_deb" | tar -t)
grep -qx './postinst' <<<"$control" || fail "the server package creates no user"
conffiles=$(dpkg-deb --ctrl-tarfile "$server_deb" | tar -xO ./conffiles)
grep -qx '/etc/dxr10900-server.conf' <<<"$conffiles" || fail "the server's configuration is no conffile"

for f in usr/bin/dxr10900-server etc/dxr10900-server.conf lib/systemd/system/dxr10900-server.service \
         usr/bin/distrato usr/bin/distrato-script usr/bin/dxr10900-call \
         usr/share/applications/distrato.desktop usr/share/icons/hicolor/scalable/apps/distrato.svg \
         usr/share/doc/distrato-client/README.md usr/share/doc/distrato-client/tools.md; do
  [ -e "$root/$f" ] || fail "$f is not in the packages"
done
module=$(find "$root/usr/lib" -name libPkg_DXR10900.so -print -quit)
[ -n "$module" ] || fail "the module is not in the client package"
grep -q '^ExecStart=/usr/bin/dxr10900-server --db ${DX_DATABASE} --listen ${DX_LISTEN} $DX_SERVER_OPTIONS$' \
  "$root/lib/systemd/system/dxr10900-server.service" || fail "the unit does not start the installed server"
grep -q '^User=dxr10900$' "$root/lib/systemd/system/dxr10900-server.service" || fail "the unit runs as root"
grep -q '^DX_LISTEN=127.0.0.1:' "$root/etc/dxr10900-server.conf" || fail "the server does not listen on loopback by default"

# --- what Debian asks of each package: copyright, changelog, manual pages
for pkg in "$server_deb" "$client_deb"; do
  name=$(dpkg-deb -f "$pkg" Package)
  doc="$root/usr/share/doc/$name"
  head -n 1 "$doc/copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "$name: the copyright file is not machine-readable"
  grep -q '^License: proprietary$' "$doc/copyright" || fail "$name: the copyright file states no licence"
  # The latest entry is the version the package carries.
  entry=$(zcat "$doc/changelog.gz" | head -n 1)
  [[ "$entry" == "distrato ($(dpkg-deb -f "$pkg" Version)) "* ]] || fail "$name: the changelog starts with: $entry"
done
# Programs in section 1, the server in 8; each page lists the options the
# program printed for --help when it was built.
manpath="$root/usr/share/man"
for page in dxr10900-server:8:--max-connections dxr10900-call:1:--password-file distrato-script:1:--module \
            distrato:1:--branch-locked; do
  IFS=: read -r program section option <<<"$page"
  found=$(MANPATH="$manpath" man -w "$section" "$program" 2>&1) || fail "no manual page $program($section): $found"
  [ "$found" = "$manpath/man$section/$program.$section.gz" ] || fail "$program($section) is $found"
  text=$(MANPATH="$manpath" MANWIDTH=80 man -P cat "$section" "$program" 2>&1) || fail "man $program failed: $text"
  grep -qF -- "$option" <<<"$text" || fail "the manual page of $program lacks its option $option"
done

# The client names its libraries by hand: every one its programs and
# libraries link, other than its own, is in a package it depends on.
client_depends=$(dpkg-deb -f "$client_deb" Depends)
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
while read -r elf; do
  for soname in $(objdump -p "$elf" | awk '$1 == "NEEDED" { print $2 }'); do
    [ -e "$root/usr/lib/distrato/$soname" ] && continue
    owner=$(dpkg -S "$soname" 2>/dev/null |
            awk -v so="/$multiarch/$soname" 'substr($NF, length($NF) - length(so) + 1) == so { sub(/:.*/, "", $1); print $1; exit }')
    [ -n "$owner" ] || fail "${elf#"$root"} links $soname, which no installed package holds"
    [[ ", $client_depends," == *", $owner"[\ ,]* ]] ||
      fail "${elf#"$root"} links $soname of $owner, which the client does not depend on: $client_depends"
  done
done < <(dpkg-deb -c "$client_deb" | awk '{ print $6 }' | grep -E '^\./usr/(bin/|lib/distrato/.*\.so)' |
         sed "s|^\.|$root|" | while read -r f; do [ -f "$f" ] && [ ! -L "$f" ] && echo "$f"; done)

# --- every program answers --version and --help, with no display at all
for program in distrato dxr10900-server dxr10900-call distrato-script; do
  for option in --version --help; do
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/$program" "$option" 2>&1) ||
      fail "$program $option failed: $out"
    [ -n "$out" ] || fail "$program $option printed nothing"
  done
done

# --- the installed server on a demo database, called by the installed client
db="$work/demo.db"
"$root/usr/bin/dxr10900-server" --db "$db" --init-demo >"$work/init.log" 2>&1 || { cat "$work/init.log" >&2; fail "no demo database"; }
: >"$work/server.log"
"$root/usr/bin/dxr10900-server" --db "$db" --listen 127.0.0.1:0 >"$work/server.log" 2>&1 &
server=$!
addr=""
for _ in $(seq 1 100); do
  addr=$(sed -n 's/^listening on //p' "$work/server.log" | head -n 1 || true)
  [ -n "$addr" ] && break
  kill -0 "$server" 2>/dev/null || break
  sleep 0.1
done
[ -n "$addr" ] || { cat "$work/server.log" >&2; fail "the installed server did not say where it listens"; }

# Every connection logs in; the demo supervisor's password comes from DX_PASSWORD.
answer=$(DX_PASSWORD=DISTRATO "$root/usr/bin/dxr10900-call" --server "$addr" --operator SUPERVISOR GetPesqOrca 0001) ||
  fail "dxr10900-call failed: $answer"
[[ "$answer" == '{"fields":'* ]] || fail "unexpected answer: $answer"

unset DX_SERVER DX_BRANCH DX_BRANCH_NAME DX_BRANCH_LOCKED DX_OPERATOR DX_PASSWORD DX_TLS DX_CA DX_DATE
DX_OPERATOR=SUPERVISOR DX_PASSWORD=DISTRATO "$root/usr/bin/distrato-script" --server "$addr" --database "$db" "$scenario" >"$work/script.log" 2>&1 ||
  { cat "$work/script.log" >&2; fail "the installed distrato-script could not run the installed module"; }

# --- a plain install into a prefix
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log" >&2; fail "cmake --install failed"; }
for f in bin/distrato bin/dxr10900-server bin/dxr10900-call bin/distrato-script share/doc/distrato-client/README.md; do
  [ -e "$prefix/$f" ] || fail "cmake --install left out $f"
done
[ -z "$(find "$prefix" -name 'dxr10900-server.conf')" ] || fail "cmake --install wrote the service's files"
env -u DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/distrato-script" --version >/dev/null || fail "the installed tree does not run"
[ -n "$(find "$prefix" -name libPkg_DXR10900.so)" ] || fail "cmake --install left out the module"
echo "package-install: packages built, installed and run"
