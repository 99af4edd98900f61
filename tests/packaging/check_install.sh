#!/usr/bin/env bash
# Installs the build into a scratch folder and builds the Debian package,
# then checks what a desktop and apt will find in them.
set -euo pipefail
build="$1"
source_dir="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

desktop-file-validate "$source_dir/resources/desktop/org.tavirune.Tavirune.desktop"
appstreamcli validate --no-net "$source_dir/resources/desktop/org.tavirune.Tavirune.metainfo.xml"

DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
root="$work/root/usr"
for f in \
  lib/tavirune/tavirune \
  lib/tavirune/doc/index.html \
  lib/tavirune/Ressources/DB/Data/Access/TAVIRUNE.MDB \
  lib/tavirune/Reports/Fich.frf \
  lib/tavirune/Reports/Fich.rpt \
  share/applications/org.tavirune.Tavirune.desktop \
  share/metainfo/org.tavirune.Tavirune.metainfo.xml \
  share/icons/hicolor/scalable/apps/org.tavirune.Tavirune.svg \
  share/icons/hicolor/48x48/apps/org.tavirune.Tavirune.png \
  share/icons/hicolor/256x256/apps/org.tavirune.Tavirune.png \
  share/doc/tavirune/copyright; do
  [ -s "$root/$f" ] || fail "missing $f"
done
# The command on the PATH leads to the program folder, so that the program
# finds its resources beside the real executable.
[ -L "$root/bin/tavirune" ] || fail "bin/tavirune is not a link"
[ "$(readlink -f "$root/bin/tavirune")" = "$(readlink -f "$root/lib/tavirune/tavirune")" ] ||
  fail "bin/tavirune does not lead to lib/tavirune/tavirune"
grep -qx 'Exec=tavirune' "$root/share/applications/org.tavirune.Tavirune.desktop" ||
  fail "the desktop entry does not start the program on the PATH"

(cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null)
deb="$(ls "$work"/deb/tavirune_*.deb)"
depends="$(dpkg-deb -f "$deb" Depends)"
for d in libqt6widgets6 libqt6sql6-sqlite libsqlite3-0 libcurl4; do
  grep -q "$d" <<<"$depends" || fail "the package does not depend on $d ($depends)"
done
contents="$(dpkg-deb -c "$deb")"
for f in ./usr/lib/tavirune/tavirune ./usr/bin/tavirune ./usr/share/applications/org.tavirune.Tavirune.desktop \
  ./usr/lib/tavirune/Ressources/DB/Data/Access/TAVIRUNE.MDB ./usr/share/doc/tavirune/copyright; do
  grep -q " $f" <<<"$contents" || fail "the package lacks $f"
done
# The licence in the form Debian's tools read.
copyright="$root/share/doc/tavirune/copyright"
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$copyright" ||
  fail "the copyright file is not in Debian's machine-readable format"
grep -q '^License: GPL-3+' "$copyright" || fail "the copyright file does not name the GPL-3+"
grep -q '/usr/share/common-licenses/GPL-3' "$copyright" || fail "the copyright file does not point at the GPL text"
echo "packaging checks passed"
