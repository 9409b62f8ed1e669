#!/usr/bin/env bash
# One screenshot of the program in the middle of a long exchange with the simulator at 2400 baud:
#   shot-progress.sh LANG WHAT FILE
# (LANG 0 German, 1 English; WHAT "connect": a few seconds into the connect; "history": a few
# seconds into a history readout pass, with a history that never ends).
# Runs inside an X server (see screenshots.sh); presses the keys like a user.
set -euo pipefail
lang=$1 what=$2 file=$3
top="$(cd "$(dirname "$0")/.." && pwd)"
work=$(mktemp -d)
trap 'kill $app $sim 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/ini"
"$top/build/sim/r73-sim" --bios 310 --baud 2400 --link "$work/sim.tty" \
    --fault endless-history=1 >/dev/null &
sim=$!
for _ in $(seq 50); do [ -e "$work/sim.tty" ] && break; sleep 0.1; done
printf '[Comunication]\r\nCOM=1\r\nDevice1=%s\r\n[Language]\r\nLanguage=%s\r\n' "$work/sim.tty" "$lang" >"$work/ini/norlo.ini"
(cd "$work" && exec "$top/build/app/r73-service") &
app=$!
sleep 2
xdotool search --sync --name "R73-Controller" windowfocus --sync key F7 >/dev/null 2>&1 || xdotool key F7
if [ "$what" = history ]; then
    # The connect, then five pages on to the log page (each read at the line's pace), then
    # the read button, which has the focus there; the pass starts with the next poll cycle.
    sleep 18
    for _ in 1 2 3 4 5; do xdotool key F3; sleep 3; done
    xdotool key space
    sleep 9
else
    sleep 6
fi
import -window root "$file"
convert "$file" -trim +repage "$file"
