#!/usr/bin/env bash
# Unpacks the Debian package into a temporary root (dpkg -x, no root rights needed) and checks
# what a user gets: the programs run from there and find their data files, the desktop entry
# passes desktop-file-validate, the icons are there in every size.
#   check_deb.sh BUILD_DIR SOURCE_DIR
# The package is built with cpack when build/package holds none newer than the programs.
set -euo pipefail
build=$1 source=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

deb=$(ls -t "$build"/package/tarnwick_*.deb 2>/dev/null | head -n1 || true)
if [ -z "$deb" ] || [ "$build/src/tools/tarnwick-cli" -nt "$deb" ] || [ "$build/src/ui/tarnwick" -nt "$deb" ]; then
  (cd "$build" && cpack -G DEB >/dev/null) || fail "cpack could not build the package"
  deb=$(ls -t "$build"/package/tarnwick_*.deb | head -n1)
fi
echo "package: $deb"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"

# Dependencies: the Qt 6 runtime packages of Debian, found by dpkg-shlibdeps.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for p in libqt6core6 libqt6network6 libqt6widgets6 libqt6gui6 libqt6svg6 libqt6multimedia6; do
  grep -q "$p" <<<"$depends" || fail "the package does not depend on $p"
done

for f in usr/bin/tarnwick usr/bin/tarnwick-cli usr/bin/tarnwick-classify; do
  [ -x "$root/$f" ] || fail "$f is missing or not executable"
done
for f in usr/share/tarnwick/known.lst usr/share/tarnwick/harptune.wav \
         usr/share/applications/tarnwick.desktop usr/share/icons/hicolor/scalable/apps/tarnwick.svg; do
  [ -s "$root/$f" ] || fail "$f is missing"
done
if [ -d "$source/data/help" ]; then
  [ -d "$root/usr/share/tarnwick/help" ] || fail "the manual (share/tarnwick/help) is missing"
fi
for size in 16 22 24 32 48 64 128 256; do
  png=$root/usr/share/icons/hicolor/${size}x${size}/apps/tarnwick.png
  [ -s "$png" ] || fail "the ${size}x${size} icon is missing"
  file "$png" | grep -q "PNG image data, $size x $size" || fail "the ${size}x${size} icon is not a $size pixel PNG: $(file -b "$png")"
done

if command -v desktop-file-validate >/dev/null; then
  out=$(desktop-file-validate "$root/usr/share/applications/tarnwick.desktop" 2>&1) || fail "desktop-file-validate: $out"
  [ -z "$out" ] || fail "desktop-file-validate warns: $out"
  grep -qx 'Categories=Network;Email;' "$root/usr/share/applications/tarnwick.desktop" || fail "wrong categories"
else
  fail "desktop-file-validate is missing (desktop-file-utils; scripts/setup installs it)"
fi

# The installed command line program classifies a saved message with the sample rules.
home=$(mktemp -d -p "$root")
out=$(env -u TARNWICK_DATA_DIR TARNWICK_HOME="$home" "$root/usr/bin/tarnwick-cli" classify --data "$source/tests/data/classify/rules" \
      "$source/tests/data/classify/mail/free.eml" "$source/tests/data/classify/mail/plain.eml" 2>&1) \
  || fail "the installed tarnwick-cli classify failed: $out"
echo "$out"
grep -q "^0	.*free.eml" <<<"$out" || fail "free.eml was not marked for deletion"
grep -q "^-1	.*plain.eml" <<<"$out" || fail "plain.eml was marked"

ldd "$root/usr/bin/tarnwick-cli" | grep -q "not found" && fail "a library of tarnwick-cli is missing"

# The window program copies the shipped files into a new data folder at its first start, and
# takes them from the installation beside it: a marked starter blacklist must arrive.
echo "marked.example" >>"$root/usr/share/tarnwick/known.lst"
first=$(mktemp -d -p "$root")
env -u TARNWICK_DATA_DIR TARNWICK_HOME="$first" QT_QPA_PLATFORM=offscreen \
  timeout 60 "$root/usr/bin/tarnwick" --demo-screenshot "$first/shot.png" >/dev/null 2>&1 || true
grep -qx "marked.example" "$first/known.lst" 2>/dev/null || fail "the installed program did not take its starter blacklist from share/tarnwick"
[ -s "$first/harptune.wav" ] || fail "the installed program did not copy its alarm sound"
echo "package check passed"
