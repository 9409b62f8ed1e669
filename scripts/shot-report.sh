#!/usr/bin/env bash
# The service report of a replacement visit, as PNG pages, run inside an X server (see
# screenshots.sh):   shot-report.sh LANG PREFIX
# Backs the simulated controller up as "another" controller's file, changes "Kurz", restores the
# file, then makes the report for a customer; its pages become PREFIX-1.png, PREFIX-2.png, ...
set -euo pipefail
lang=$1 prefix=$2
. "$(dirname "$0")/shot-start.sh"
start_sim --bios 310
mkdir -p "$work/report"
# A logo of the service company, drawn here.
convert -size 360x96 xc:white -fill '#1f3f66' -draw "rectangle 0,0 96,96" \
    -fill white -pointsize 48 -draw "text 14,66 'SK'" -fill '#1f3f66' -pointsize 30 \
    -draw "text 112,60 'Service Klein'" "$work/report/logo.png"
start_program "[Comunication]\r\nCOM=1\r\nDevice1=$work/sim.tty\r\n[Language]\r\nLanguage=$lang\r\n[Servicebericht]\r\nTechniker=M. Weber\r\n"
press_f7
sleep 7
# The backup, then "Kurz" changed on the page and the file restored and saved permanently.
backup_change_restore
xdotool key Return; sleep 6
xdotool key alt+d; sleep 4
xdotool key Escape; sleep 1
focus_main; sleep 1
# The report: customer, site, machine and order, then "PDF speichern" and the proposed name.
xdotool key ctrl+shift+b; sleep 3
xdotool key Tab; xdotool type "Kühlwerk Nord GmbH"
xdotool key Tab; xdotool type "Halle 3, Linie 2"
xdotool key Tab; xdotool type "Presse 7"
xdotool key Tab; xdotool type "A-2026-4711"
xdotool key Return; sleep 3
xdotool key Return; sleep 6
pdf=$(ls "$work"/Archive/1234/*.pdf | head -1)
pdftoppm -r 60 -png "$pdf" "$prefix"
