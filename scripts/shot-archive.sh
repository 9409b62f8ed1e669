#!/usr/bin/env bash
# Screenshot of the archive window after a restore, run inside an X server (see screenshots.sh):
#   shot-archive.sh LANG FILE [CHANGES_FILE]
# Backs the simulated controller up, changes "Kurz", restores the file and saves the
# verification report, then opens the archive on the restore's visit and its files.
set -euo pipefail
lang=$1 file=$2 changes=${3:-}
. "$(dirname "$0")/shot-start.sh"
start_on_sim "$lang" --bios 310
sleep 7
backup_change_restore
xdotool key Return; sleep 6
# The report's "Speichern …", its proposed name, then the report closed.
xdotool key alt+s; sleep 2
xdotool key Return; sleep 2
xdotool key Escape; sleep 1
focus_main
sleep 1
xdotool key ctrl+shift+a; sleep 3
# From the controllers to the visits, the newest (the restore) chosen.
xdotool key Tab Down; sleep 1
import -window root "$file"
convert "$file" -trim +repage "$file"
if [ -n "$changes" ]; then
    # The writes of the visit: the page's send and the restore's, each with before and after.
    xdotool search --name "^(Archiv|Archive)$" mousemove --window %1 430 24 click 1; sleep 1
    import -window root "$changes"
    convert "$changes" -trim +repage "$changes"
fi
