#!/usr/bin/env bash
# Screenshots of a backup prepared without a controller, run inside an X server (see
# screenshots.sh):
#   shot-offline.sh LANG OPENED.png SAVED.png
# A backup of the simulated controller is opened offline, with no port configured; "Kurz" is
# changed and F5 pressed, and the save dialog's proposal taken. Keys as a technician presses them.
set -euo pipefail
lang=$1 opened=$2 saved=$3
. "$(dirname "$0")/shot-start.sh"
start_sim --bios 310
(cd "$work" && "$top/build/cli/r73ctl" --device "$work/sim.tty" backup sister.json >/dev/null)
kill $sim
printf "[Comunication]\r\nCOM=0\r\n[Language]\r\nLanguage=$lang\r\n" >"$work/ini/norlo.ini"
(cd "$work" && exec "$top/build/app/r73-service" --offline sister.json) &
app=$!
sleep 4
xdotool search --sync --name "Offline" windowfocus --sync >/dev/null 2>&1 || true
import -window root "$opened"
xdotool key ctrl+a; xdotool type 345; xdotool key Return; sleep 2
xdotool key F5; sleep 3
xdotool key Return; sleep 3
xdotool search --name "Offline" windowfocus --sync >/dev/null 2>&1 || true
sleep 1
import -window root "$saved"
convert "$opened" -trim +repage "$opened"
convert "$saved" -trim +repage "$saved"
