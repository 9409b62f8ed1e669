#!/usr/bin/env bash
# One screenshot of the program connected to the simulator:
#   shot-connected.sh LANG OUTPUTS INPUTS FILE [PAGE [KEY...]]
# (LANG 0 German, 1 English; OUTPUTS/INPUTS the words the simulator reports, in hex, or "live"
# for the running machine; PAGE the notebook page to show, 0..9, reached with F3; KEYs pressed
# there ("wait=N" waits N seconds), then a few seconds' wait). BIOS in the environment picks the controller version.
# Runs inside an X server (see screenshots.sh); presses F7 like a user and waits for the lamps.
set -euo pipefail
lang=$1 outputs=$2 inputs=$3 file=$4 page=${5:-0}
keys=("${@:6}")
words=()
[ "$outputs" != live ] && words+=(--outputs "$outputs")
[ "$inputs" != live ] && words+=(--inputs "$inputs")
. "$(dirname "$0")/shot-start.sh"
start_on_sim "$lang" --bios "${BIOS:-310}" "${words[@]}"
# Connect, then the poll has to come round to the lamps (Timer3 lets it resume).
sleep 7
for _ in $(seq "$page"); do xdotool key F3; sleep 1.5; done
[ "$page" -gt 0 ] && sleep 1
if [ ${#keys[@]} -gt 0 ]; then
    for k in "${keys[@]}"; do
        case "$k" in
        wait=*) sleep "${k#wait=}" ;;
        *) xdotool key "$k"; sleep 0.5 ;;
        esac
    done
    sleep 4
fi
import -window root "$file"
convert "$file" -trim +repage "$file"
