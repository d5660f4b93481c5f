#!/usr/bin/env bash
# Unpacks the Debian package into a temporary root (dpkg -x, no root rights needed) and checks
# what a user gets: the programs run from there and find their data files, the desktop entry
# passes desktop-file-validate, the icons are there in every size, lintian finds no error and
# no warning, the metainfo, the manual pages and the systemd units are there and valid, the
# programs are hardened and hold no folder of the build machine.
#   check_deb.sh BUILD_DIR SOURCE_DIR [hardened|plain]
# "plain" is for the sanitizer build, whose programs cannot take the hardening flags: lintian's
# notes about missing hardening are then expected and not held against the package, and the
# programs may name the build's folders.
# The package is built with cpack when build/package holds none newer than the programs.
set -euo pipefail
build=$1 source=$2 hardening=${3:-hardened}
fail() { echo "FAIL: $*" >&2; exit 1; }

deb=$(ls -t "$build"/package/tarnwick_*.deb 2>/dev/null | head -n1 || true)
if [ -z "$deb" ] || [ "$build/src/tools/tarnwick-cli" -nt "$deb" ] || [ "$build/src/tarnwick" -nt "$deb" ]; then
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
         usr/share/applications/tarnwick.desktop usr/share/icons/hicolor/scalable/apps/tarnwick.svg \
         usr/share/doc/tarnwick/copyright usr/share/doc/tarnwick/changelog.gz \
         usr/share/metainfo/org.example.tarnwick.metainfo.xml \
         usr/share/tarnwick/translations/tarnwick_de.qm \
         usr/lib/systemd/user/tarnwick-check.service usr/lib/systemd/user/tarnwick-check.timer; do
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

# Debian's own checks: no error, no warning, and of the informational notes none about the
# hardening (relro, bind-now, fortified functions).
command -v lintian >/dev/null || fail "lintian is missing (scripts/setup installs it)"
lint=$(lintian --display-info --tag-display-limit 0 "$deb" 2>&1 || true)
echo "$lint"
if [ "$hardening" = hardened ]; then
  grep -E '^[EW]: |hardening-' <<<"$lint" && fail "lintian reports errors, warnings or missing hardening"
else
  grep -E '^[EW]: ' <<<"$lint" && fail "lintian reports errors or warnings"
fi
# No network on a build machine: the metainfo's links are not fetched.
appstreamcli validate --pedantic --no-net "$root/usr/share/metainfo/org.example.tarnwick.metainfo.xml" \
  || fail "appstreamcli validate refuses the metainfo"

# Each program has a manual page that describes every option its --help names and the exit
# status; --version gives the package's version.
version=$(dpkg-deb -f "$deb" Version)
for prog in tarnwick tarnwick-cli tarnwick-classify; do
  man=$root/usr/share/man/man1/$prog.1.gz
  [ -s "$man" ] || fail "the manual page $prog(1) is missing"
  page=$(LC_ALL=C.UTF-8 MANWIDTH=300 man -l "$man" 2>/dev/null) || fail "man cannot show $prog(1)"
  grep -q "EXIT STATUS" <<<"$page" || fail "$prog(1) does not give the exit status"
  help=$(QT_QPA_PLATFORM=offscreen "$root/usr/bin/$prog" --help 2>&1) || fail "$prog --help failed: $help"
  for opt in $(grep -oE -- '--[a-z][a-z-]+' <<<"$help" | sort -u); do
    grep -qF -- "$opt" <<<"$page" || fail "$prog(1) does not describe $opt"
  done
  if grep -q -- --version <<<"$help"; then
    out=$(QT_QPA_PLATFORM=offscreen "$root/usr/bin/$prog" --version 2>&1) || fail "$prog --version failed"
    grep -qx "[A-Za-z-]* $version" <<<"$out" || fail "$prog --version says \"$out\", not $version"
  fi
  QT_QPA_PLATFORM=offscreen "$root/usr/bin/$prog" --no-such-option >/dev/null 2>&1 && status=0 || status=$?
  [ "$status" -eq 2 ] || fail "$prog ends with $status, not 2, on an unknown option"
done

# The user units: systemd reads them, and the command they run is in the package. The
# verification runs the installed program instead of /usr/bin's (not installed here).
units=$(mktemp -d -p "$root")
sed "s|/usr/bin/|$root/usr/bin/|" "$root/usr/lib/systemd/user/tarnwick-check.service" >"$units/tarnwick-check.service"
cp "$root/usr/lib/systemd/user/tarnwick-check.timer" "$units/"
grep -qx 'ExecStart=/usr/bin/tarnwick-cli check --all --delete' "$root/usr/lib/systemd/user/tarnwick-check.service" \
  || fail "the service does not run the check of every mailbox"
if command -v systemd-analyze >/dev/null; then
  MANPATH=$root/usr/share/man systemd-analyze verify "$units/tarnwick-check.timer" "$units/tarnwick-check.service" \
    || fail "systemd-analyze verify refuses the units"
fi

# No folder of the build machine in a program. The sanitizer build's programs name their
# source files in every report they give, so they keep the folders by design.
[ "$hardening" = plain ] || for f in usr/bin/tarnwick usr/bin/tarnwick-cli usr/bin/tarnwick-classify; do
  for dir in "$source" "$build"; do
    ! grep -qF "$dir" "$root/$f" || fail "$f holds the build machine's folder $dir"
  done
done
echo "package check passed"
