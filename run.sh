#!/usr/bin/env bash
# Installs what is missing, builds, and starts R73 Service connected to the bundled controller
# simulator. The program works in run/: its configuration run/ini/norlo.ini names the
# simulator's line as port 1 (Device1); the simulator keeps its saved sets and exchange log there.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/common.sh
# Before the build: without a display there is nothing to show it on.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run.sh: no display to show the program on; on a machine without one use: xvfb-run -a ./run.sh" >&2
    exit 1
fi
r73_install_missing
r73_build
echo "run.sh: run/ is the simulator's folder: its ini/norlo.ini gets Device1 set to the simulator on every start."
echo "        Use a real controller from another folder, or from the installed program."

mkdir -p run/ini
link="$PWD/run/r73-sim.tty"
ini=run/ini/norlo.ini
# Keep the user's settings; only make sure port 1 leads to the simulator.
if [ ! -f "$ini" ]; then
    printf '[Comunication]\r\nCOM=1\r\nDevice1=%s\r\n' "$link" >"$ini"
elif grep -qi '^Device1=' "$ini"; then
    sed -i "s|^[Dd][Ee][Vv][Ii][Cc][Ee]1=.*|Device1=$link\r|" "$ini"
else
    sed -i "0,/^\[Comunication\]/I s||[Comunication]\r\nDevice1=$link\r|" "$ini"
    grep -qi '^Device1=' "$ini" || printf '[Comunication]\r\nDevice1=%s\r\n' "$link" >>"$ini"
fi

build/sim/r73-sim --bios 310 --serial 1234 --baud 2400 --link "$link" \
    --state run/r73-sim-state.json --log run/r73-sim.log >run/r73-sim.out &
sim=$!
trap 'kill "$sim" 2>/dev/null; wait "$sim" 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
echo "Controller simulator (BIOS 3.10) on $(head -n1 run/r73-sim.out), linked as $link"

cd run
../build/app/r73-service
