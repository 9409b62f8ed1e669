#!/usr/bin/env bash
# Screenshots of the trend window, live and replaying what was recorded:
#   shot-trend.sh LANG LIVE.png REPLAY.png [SECONDS]
# (LANG 0 German, 1 English). Connects to the simulator, shows the live analog page, records for
# SECONDS (default 75) with the trend window open, then opens the recording in the window.
# Runs inside an X server of at least 1024x768.
set -euo pipefail
lang=$1 live=$2 replay=$3 seconds=${4:-75}
. "$(dirname "$0")/shot-start.sh"
start_on_sim "$lang" --bios 310
sleep 7
for _ in $(seq 9); do xdotool key F3; sleep 1; done
sleep 8 # the page's first read of the three channels
xdotool key ctrl+r ctrl+t
sleep 2
trend=$(xdotool search --name '^Trend')
xdotool windowmove "$trend" 0 0 windowsize "$trend" 1000 740
sleep "$seconds"
xdotool mousemove 600 200
sleep 1.5
import -window "$trend" "$live"
file=$(ls -S "$work"/Log/trend_*.csv | head -1)
xdotool windowfocus --sync "$trend" key ctrl+o
sleep 2
xdotool type --delay 20 "$file"
xdotool key Return
sleep 2
xdotool mousemove 500 300
sleep 1.5
import -window "$trend" "$replay"
