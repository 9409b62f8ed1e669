#!/usr/bin/env bash
# The port dialog as a technician meets it: COM1 a device with nothing behind it, COM2 the
# simulator, COM3 missing; "Suchen" pressed.   shot-ports.sh LANG FILE
# Runs inside an X server: xvfb-run -a -s "-screen 0 800x600x24" scripts/shot-ports.sh 0 out.png
set -euo pipefail
lang=$1 file=$2
top="$(cd "$(dirname "$0")/.." && pwd)"
work=$(mktemp -d)
trap 'kill $app $sim 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/ini"
"$top/build/sim/r73-sim" --link "$work/sim.tty" >/dev/null &
sim=$!
for _ in $(seq 50); do [ -e "$work/sim.tty" ] && break; sleep 0.1; done
printf '[Comunication]\r\nCOM=3\r\nDevice2=%s\r\n[Language]\r\nLanguage=%s\r\n' \
    "$work/sim.tty" "$lang" >"$work/ini/norlo.ini"
(cd "$work" && exec "$top/build/app/r73-service") &
app=$!
sleep 2
xdotool key Return # the message about COM3
sleep 0.5
dialog=$([ "$lang" = 0 ] && echo alt+s || echo alt+i) # "&Schnittstelle", "&Interface"
xdotool search --sync --name "R73-Controller" windowfocus --sync key "$dialog" >/dev/null 2>&1 ||
    xdotool key "$dialog"
sleep 1.5
xdotool key alt+s # search
sleep 2
import -window root "$file"
convert "$file" -trim +repage "$file"
