#!/usr/bin/env bash
# One screenshot of the program in the middle of a long exchange with the simulator at 2400 baud:
#   shot-progress.sh LANG WHAT FILE
# (LANG 0 German, 1 English; WHAT "connect": a few seconds into the connect; "history": a few
# seconds into a history readout pass, with a history that never ends).
# Runs inside an X server (see screenshots.sh); presses the keys like a user.
set -euo pipefail
lang=$1 what=$2 file=$3
. "$(dirname "$0")/shot-start.sh"
start_on_sim "$lang" --bios 310 --baud 2400 --fault endless-history=1
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
