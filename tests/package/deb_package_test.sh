#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package of a build folder, unpacks it into a scratch root
# and checks what it would install: the program, the desktop entry, the
# metainfo, the icon (SVG and six PNG sizes), the copyright file, the changelog and the manual
# pages, and that the package depends on the Qt libraries the program links
# and on Qt's German texts. Where lintian is installed, the package must draw
# no error and no warning from it.
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
  usr/share/icons/hicolor/scalable/apps/velmora.svg \
  usr/share/doc/velmora/copyright \
  usr/share/doc/velmora/changelog.gz \
  usr/share/man/man1/velmora.1.gz \
  usr/share/man/de/man1/velmora.1.gz; do
  [[ -s $root/$file ]] || fail "$file is missing or empty"
done

# Width and height, as the PNG header's first chunk gives them.
png_size() {
  od -An -j16 -N8 -tu1 "$1" | awk '{ printf "%dx%d", (($1 * 256 + $2) * 256 + $3) * 256 + $4, (($5 * 256 + $6) * 256 + $7) * 256 + $8 }'
}
for size in 16 32 48 64 128 256; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/velmora.png
  if [[ ! -s $icon ]]; then
    fail "$icon is missing or empty"
  elif [[ $(png_size "$icon") != "${size}x${size}" ]]; then
    fail "$icon is $(png_size "$icon") pixels, not ${size}x${size}"
  fi
done

[[ $(dpkg-deb --field "$deb" Package) == velmora ]] || fail "package name"
version=$(dpkg-deb --field "$deb" Version)
[[ $version == 1.0.0.20 ]] || fail "version"
[[ $(dpkg-deb --field "$deb" Section) == graphics ]] || fail "section"
depends=$(dpkg-deb --field "$deb" Depends)
grep -q 'libqt6widgets6' <<<"$depends" || fail "Depends lacks libqt6widgets6: $depends"
grep -q "qt6-translations-l10n" <<<"$depends" || fail "Depends lacks qt6-translations-l10n: $depends"
recommends=$(dpkg-deb --field "$deb" Recommends)
grep -q "qt6-wayland" <<<"$recommends" || fail "Recommends lacks qt6-wayland: $recommends"

# Each page as man shows it, without a warning from groff.
if command -v man >/dev/null; then
  for page in usr/share/man/man1/velmora.1.gz usr/share/man/de/man1/velmora.1.gz; do
    if ! warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/$page" 2>&1 >/dev/null); then
      fail "man cannot show $page: $warnings"
    elif [[ -n $warnings ]]; then
      fail "man warns about $page: $warnings"
    fi
  done
else
  echo "man missing: the manual pages are not formatted"
fi

if command -v appstreamcli >/dev/null; then
  appstreamcli validate-tree --pedantic --no-net "$root" || fail "the installed tree does not validate"
else
  echo "appstreamcli missing: the installed tree is not validated"
fi

if command -v lintian >/dev/null; then
  # Status 1 only says that errors were found; 2 and up that lintian failed.
  status=0
  lintian_report=$(lintian --pedantic "$deb" 2>&1) || status=$?
  if [[ $status -gt 1 ]]; then
    fail "lintian failed: $lintian_report"
  elif grep -E '^[EW]: ' <<<"$lintian_report"; then
    fail "lintian reports errors or warnings"
  fi
else
  echo "lintian missing: the package is not checked against Debian's policy"
fi

[[ $failures -eq 0 ]] || exit 1
echo "$(basename "$deb"): Depends: $depends"
