#!/usr/bin/env bash
# Runs Debian's package checker on both packages and fails on any error or
# warning it reports; information tags are shown, not counted.
#   lintian-check.sh PACKAGE_DIR
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "usage: lintian-check.sh PACKAGE_DIR" >&2
  exit 2
fi
shopt -s nullglob
debs=("$1"/distrato-server_*.deb "$1"/distrato-client_*.deb)
if [ ${#debs[@]} -ne 2 ]; then
  echo "lintian-check: expected the two packages in $1, found: ${debs[*]:-none}" >&2
  exit 1
fi

# An override silences a tag for good: each must say why, in a comment
# above it (one comment may head a group of overrides, up to a blank line).
for deb in "${debs[@]}"; do
  package=$(dpkg-deb -f "$deb" Package)
  overrides=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO "./usr/share/lintian/overrides/$package" 2>/dev/null || true)
  uncommented=$(awk '/^[[:space:]]*$/ { commented = 0; next }
                     /^#/ { commented = 1; next }
                     !commented { print }' <<<"$overrides")
  if [ -n "$uncommented" ]; then
    echo "lintian-check: $package overrides tags without saying why: $uncommented" >&2
    exit 1
  fi
done

# As root, lintian says so on standard error; nothing else goes there.
if ! lintian --fail-on error,warning --display-info --tag-display-limit 0 "${debs[@]}"; then
  echo "lintian-check: lintian reports errors or warnings (above)" >&2
  exit 1
fi
echo "lintian-check: ${debs[*]##*/}: no errors, no warnings"
