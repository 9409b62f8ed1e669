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
backup_change_restore
import -window root "$compare"
xdotool key Return; sleep 6
import -window root "$verify"
convert "$compare" -trim +repage "$compare"
convert "$verify" -trim +repage "$verify"
