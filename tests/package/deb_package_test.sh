#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package of a build folder, unpacks it into a scratch root
# and checks what it would install: the program, the desktop entry, the
# metainfo and the three icons, and that the package depends on the Qt
# libraries the program links and on Qt's German texts.
# Usage: deb_package_test.sh <cpack> <build folder>
set -euo pipefail

cpack=$1
build=$2
work=$(mktemp -d "$build/package-test.XXXXXX")
trap 'rm -rf "$work"' EXIT

if ! "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  exit 1
fi
debs=("$work"/velmora_*.deb)
if [[ ${#debs[@]} -ne 1 || ! -f ${debs[0]} ]]; then
  echo "expected one velmora_*.deb in $work"
  exit 1
fi
deb=${debs[0]}
root=$work/root
dpkg -x "$deb" "$root"

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# The modes as the package records them, not as this user could use them.
listing=$(dpkg-deb --contents "$deb")
grep -Eq '^-rwxr-xr-x .* \./usr/bin/velmora$' <<<"$listing" || fail "usr/bin/velmora is not an executable file"

for file in usr/share/applications/velmora.desktop \
  usr/share/metainfo/de.velmora.velmora.metainfo.xml \
  usr/share/icons/hicolor/16x16/apps/velmora.png \
  usr/share/icons/hicolor/32x32/apps/velmora.png \
  usr/share/icons/hicolor/48x48/apps/velmora.png; do
  [[ -s $root/$file ]] || fail "$file is missing or empty"
done

# Width and height, as the PNG header's first chunk gives them.
png_size() {
  od -An -j16 -N8 -tu1 "$1" | awk '{ printf "%dx%d", (($1 * 256 + $2) * 256 + $3) * 256 + $4, (($5 * 256 + $6) * 256 + $7) * 256 + $8 }'
}
for size in 16 32 48; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/velmora.png
  if [[ -s $icon && $(png_size "$icon") != "${size}x${size}" ]]; then
    fail "$icon is $(png_size "$icon") pixels, not ${size}x${size}"
  fi
done

[[ $(dpkg-deb --field "$deb" Package) == velmora ]] || fail "package name"
[[ $(dpkg-deb --field "$deb" Version) == 1.0.0.20 ]] || fail "version"
[[ $(dpkg-deb --field "$deb" Section) == graphics ]] || fail "section"
depends=$(dpkg-deb --field "$deb" Depends)
grep -q 'libqt6widgets6' <<<"$depends" || fail "Depends lacks libqt6widgets6: $depends"
grep -q "qt6-translations-l10n" <<<"$depends" || fail "Depends lacks qt6-translations-l10n: $depends"

if command -v appstreamcli >/dev/null; then
  appstreamcli validate-tree --no-net "$root" || fail "the installed tree does not validate"
else
  echo "appstreamcli missing: the installed tree is not validated"
fi

[[ $failures -eq 0 ]] || exit 1
echo "$(basename "$deb"): Depends: $depends"
