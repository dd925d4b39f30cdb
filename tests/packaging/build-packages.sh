#!/usr/bin/env bash
# Makes the Debian packages of an already built tree into a folder of their
# own, for the package tests to share:
#   build-packages.sh BUILD_DIR PACKAGE_DIR
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: build-packages.sh BUILD_DIR PACKAGE_DIR" >&2
  exit 2
fi
build=$1
packages=$2

rm -rf "$packages"
mkdir -p "$packages"
log="$packages/cpack.log"
(cd "$build" && cpack -G DEB -B "$packages") >"$log" 2>&1 || { cat "$log" >&2; echo "build-packages: cpack failed" >&2; exit 1; }
# CPack's working folder is no package; the tests look at the .deb files only.
rm -rf "$packages/_CPack_Packages"
ls "$packages"/distrato-server_*.deb "$packages"/distrato-client_*.deb
