#!/usr/bin/env bash
# The port dialog as a technician meets it: COM1 a device with nothing behind it, COM2 the
# simulator, COM3 missing; "Suchen" pressed.   shot-ports.sh LANG FILE
# Runs inside an X server: xvfb-run -a -s "-screen 0 800x600x24" scripts/shot-ports.sh 0 out.png
set -euo pipefail
lang=$1 file=$2
. "$(dirname "$0")/shot-start.sh"
start_sim
start_program "[Comunication]\r\nCOM=3\r\nDevice2=$work/sim.tty\r\n[Language]\r\nLanguage=$lang\r\n"
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
