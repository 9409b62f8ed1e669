#!/usr/bin/env bash
# Screenshots of the program as a user sees it: the real program under Xvfb (unconnected main
# window, and connected to the simulator with a good and a bad result, German and English) plus
# every dialog rendered by build/tests/app/shots.
# Output: docs/screenshots/. Needs xvfb and imagemagick (installed if missing).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh
r73_install_missing xvfb xauth imagemagick xdotool
r73_build

out="$PWD/docs/screenshots"
mkdir -p "$out"
QT_QPA_PLATFORM=offscreen build/tests/app/shots "$out/windows"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/ini"
for lang in 0 1; do
    name=$([ $lang = 0 ] && echo de || echo en)
    printf '[Comunication]\r\nCOM=1\r\n[DemoMode]\r\nACTIVE=1\r\n[Language]\r\nLanguage=%s\r\n' $lang >"$work/ini/norlo.ini"
    xvfb-run -a -s "-screen 0 800x600x24" bash -c "
        cd '$work' && '$PWD/build/app/r73-service' & app=\$!
        sleep 3
        import -window root '$out/program-$name.png'
        kill \$app" 2>/dev/null || true
    # The screen is larger than the window: keep just the window.
    convert "$out/program-$name.png" -trim +repage "$out/program-$name.png"
done
# Connected to the simulator: a good and a bad test result, every page, the history readout and
# the logbook window.
shot() { xvfb-run -a -s "-screen 0 800x600x24" scripts/shot-connected.sh "$@" 2>/dev/null; }
for lang in 0 1; do
    name=$([ $lang = 0 ] && echo de || echo en)
    shot $lang 0x11 0x81 "$out/connected-ok-$name.png"
    shot $lang 0x22 0x82 "$out/connected-short-$name.png"
    for page in 0 1 2 3 4 6 9; do
        shot $lang live live "$out/page$page-$name.png" $page
    done
    BIOS=208 shot $lang live live "$out/page6-bios208-$name.png" 6
    shot $lang live live "$out/page5-readout-$name.png" 5 space
    shot $lang live live "$out/logbook-$name.png" 5 space wait=8 F6
    # The status line after a field's send and after the permanent save.
    shot $lang live live "$out/status-sent-$name.png" 0 ctrl+a 1 2 0 Return
    shot $lang live live "$out/status-saved-$name.png" 0 ctrl+a 1 2 0 Return F5
    # The fields' states: sent and not saved, read back other than typed, typed and not sent;
    # then saved, the typed field untouched.
    states=(1 ctrl+a 3 0 Return Tab ctrl+a 5 0 0 0 Return Tab ctrl+a 7 7)
    shot $lang live live "$out/field-states-$name.png" "${states[@]}"
    shot $lang live live "$out/field-states-saved-$name.png" "${states[@]}" F5
    # Trennen: the window unconnected again, ready for the next controller.
    shot $lang live live "$out/disconnected-$name.png" 0 ctrl+shift+t
    # In the middle of the long exchanges at 2400 baud: the window stays alive and says how far.
    xvfb-run -a -s "-screen 0 800x600x24" scripts/shot-progress.sh $lang connect \
        "$out/connecting-$name.png" 2>/dev/null
    xvfb-run -a -s "-screen 0 800x600x24" scripts/shot-progress.sh $lang history \
        "$out/history-pass-$name.png" 2>/dev/null
    # A restore: the comparison before the writes, the verification after them.
    xvfb-run -a -s "-screen 0 1024x768x24" scripts/shot-backup.sh $lang \
        "$out/backup-compare-$name.png" "$out/backup-verify-$name.png" 2>/dev/null
    # The trend window at its opening size, live and replaying the recording.
    xvfb-run -a -s "-screen 0 1024x768x24" scripts/shot-trend.sh $lang \
        "$out/trend-live-$name.png" "$out/trend-replay-$name.png" 2>/dev/null
    # The service report of a replacement visit, page by page.
    xvfb-run -a -s "-screen 0 1024x768x24" scripts/shot-report.sh $lang \
        "$PWD/docs/report/replacement-report-$name" 2>/dev/null
    # The archive after a restore: its visit with the backup, the journal and the report.
    xvfb-run -a -s "-screen 0 1024x768x24" scripts/shot-archive.sh $lang \
        "$out/archive-$name.png" "$out/archive-changes-$name.png" 2>/dev/null
    # A backup opened offline, without a port, edited and saved with F5.
    xvfb-run -a -s "-screen 0 1024x768x24" scripts/shot-offline.sh $lang \
        "$out/offline-open-$name.png" "$out/offline-saved-$name.png" 2>/dev/null
done
echo "screenshots in $out"
