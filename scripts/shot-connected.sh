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
top="$(cd "$(dirname "$0")/.." && pwd)"
work=$(mktemp -d)
trap 'kill $app $sim 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/ini"
"$top/build/sim/r73-sim" --bios "${BIOS:-310}" --link "$work/sim.tty" "${words[@]}" >/dev/null &
sim=$!
for _ in $(seq 50); do [ -e "$work/sim.tty" ] && break; sleep 0.1; done
printf '[Comunication]\r\nCOM=1\r\nDevice1=%s\r\n[Language]\r\nLanguage=%s\r\n' "$work/sim.tty" "$lang" >"$work/ini/norlo.ini"
(cd "$work" && exec "$top/build/app/r73-service") &
app=$!
sleep 2
xdotool search --sync --name "R73-Controller" windowfocus --sync key F7 >/dev/null 2>&1 || xdotool key F7
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
