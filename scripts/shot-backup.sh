#!/usr/bin/env bash
# Screenshots of a restore, run inside an X server (see screenshots.sh):
#   shot-backup.sh LANG COMPARE.png VERIFY.png
# Backs the simulated controller up, changes "Kurz", restores the file: the comparison before
# the writes and the verification report after them. Keys as a technician presses them.
set -euo pipefail
lang=$1 compare=$2 verify=$3
. "$(dirname "$0")/shot-start.sh"
start_on_sim "$lang" --bios 310
sleep 7
xdotool key ctrl+shift+s; sleep 3
xdotool key Return; sleep 2
xdotool key Return; sleep 1
xdotool key ctrl+a; xdotool type 300; xdotool key Return; sleep 3
file=$(ls "$work"/Backup/*.json | head -1)
# Without a window manager the closed dialogs leave no active window: give it back.
xdotool search --name "R73-Controller" windowfocus --sync 2>/dev/null || true
sleep 1
xdotool key ctrl+shift+r; sleep 3
xdotool type "$file"; xdotool key Return; sleep 4
import -window root "$compare"
xdotool key Return; sleep 6
import -window root "$verify"
convert "$compare" -trim +repage "$compare"
convert "$verify" -trim +repage "$verify"
