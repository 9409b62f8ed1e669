#!/usr/bin/env bash
# Installs into a temporary DESTDIR and builds the .deb, then checks what a desktop and Debian
# will see: the programs, a valid menu entry that starts one of them, the icon, the README, and
# the Qt runtime packages among the dependencies.   check-package.sh BUILD_DIR
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "check-package: $*" >&2; exit 1; }

DESTDIR="$tmp/root" cmake --install "$build" --prefix /usr >/dev/null
root="$tmp/root/usr"
for f in bin/r73-service bin/r73ctl bin/r73-sim share/icons/hicolor/scalable/apps/r73-service.svg \
         share/doc/r73-service/README.md; do
    [ -f "$root/$f" ] || fail "cmake --install did not install $f"
done
entry="$root/share/applications/r73-service.desktop"
desktop-file-validate "$entry"
grep -q '^Name\[de\]=' "$entry" && grep -q '^Comment\[de\]=' "$entry" || fail "no German name or comment"
exec_line=$(sed -n 's/^Exec=//p' "$entry")
[ -x "$root/bin/${exec_line%% *}" ] || fail "Exec=$exec_line names no installed program"

(cd "$tmp" && cpack --config "$build/CPackConfig.cmake" -B "$tmp/deb" >/dev/null)
deb=$(ls "$tmp"/deb/r73-service_*.deb)
depends=$(dpkg-deb --field "$deb" Depends)
for p in libqt6widgets6 libqt6serialport6 libqt6core6 libqt6charts6 libqt6sql6-sqlite qt6-translations-l10n; do
    grep -q "$p" <<<"$depends" || fail "Depends lacks $p: $depends"
done
contents=$(dpkg-deb --contents "$deb")
for f in ./usr/bin/r73-service ./usr/bin/r73ctl ./usr/bin/r73-sim \
         ./usr/share/applications/r73-service.desktop ./usr/share/doc/r73-service/README.md; do
    grep -q " $f\$" <<<"$contents" || fail "the package lacks $f"
done
echo "ok: $(basename "$deb"), Depends: $depends"
