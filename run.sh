#!/usr/bin/env bash
# Installs what is missing, builds, starts the controller simulator on a pseudo-terminal and
# talks to it.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/common.sh
r73_install_missing
r73_build

mkdir -p run
link="$PWD/run/r73-sim.tty"
build/sim/r73-sim --bios 310 --serial 1234 --baud 2400 --link "$link" \
    --state run/r73-sim-state.json --log run/r73-sim.log >run/r73-sim.out &
sim=$!
trap 'kill "$sim" 2>/dev/null; wait "$sim" 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
echo "Controller simulator on $(head -n1 run/r73-sim.out) (link $link)"
build/cli/r73ctl --device "$link" identify
