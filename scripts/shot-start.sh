# Sourced by the screenshot scripts: the simulator and the program in a fresh working folder.
#   start_sim [r73-sim options...]     sets top, work, sim; cleans up on exit
#   start_program INI                  the program in $work with this norlo.ini (printf escapes)
#   start_on_sim LANG [r73-sim options...]   both, on COM1, then F7 pressed like a user
#   press_f7                           F7 into the main window, as a user connects
#   focus_main                         the main window active again
#   backup_change_restore              backup, "Kurz" changed, the restore's comparison shown
start_sim() {
    top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    work=$(mktemp -d)
    trap 'kill ${app:-} $sim 2>/dev/null || true; rm -rf "$work"' EXIT
    mkdir -p "$work/ini"
    "$top/build/sim/r73-sim" --link "$work/sim.tty" "$@" >/dev/null &
    sim=$!
    for _ in $(seq 50); do [ -e "$work/sim.tty" ] && break; sleep 0.1; done
}

start_program() {
    printf "$1" >"$work/ini/norlo.ini"
    (cd "$work" && exec "$top/build/app/r73-service") &
    app=$!
    sleep 2
}

start_on_sim() {
    local lang=$1
    shift
    start_sim "$@"
    start_program "[Comunication]\r\nCOM=1\r\nDevice1=$work/sim.tty\r\n[Language]\r\nLanguage=$lang\r\n"
    press_f7
}

press_f7() {
    xdotool search --sync --name "R73-Controller" windowfocus --sync key F7 >/dev/null 2>&1 ||
        xdotool key F7
}

# Without a window manager the closed dialogs leave no active window: give it back.
focus_main() {
    xdotool search --name "R73-Controller" windowfocus --sync 2>/dev/null || true
}

# Backs the connected controller up, types 300 into "Kurz" on the first page and opens the
# restore of the backup ($backup): the comparison is on screen.
backup_change_restore() {
    xdotool key ctrl+shift+s; sleep 3
    xdotool key Return; sleep 2
    xdotool key Return; sleep 1
    focus_main; sleep 1
    xdotool key ctrl+a; xdotool type 300; xdotool key Return; sleep 3
    backup=$(ls "$work"/Backup/*.json | head -1)
    focus_main; sleep 1
    xdotool key ctrl+shift+r; sleep 3
    xdotool type "$backup"; xdotool key Return; sleep 4
}
