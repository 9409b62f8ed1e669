# Sourced by the screenshot scripts: the program in a fresh working folder, connected to a
# simulated controller on a pseudo-terminal, pressed F7 like a user.
#   start_on_sim LANG [r73-sim options...]   sets top, work, sim, app; cleans up on exit
start_on_sim() {
    local lang=$1
    shift
    top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    work=$(mktemp -d)
    trap 'kill $app $sim 2>/dev/null || true; rm -rf "$work"' EXIT
    mkdir -p "$work/ini"
    "$top/build/sim/r73-sim" --link "$work/sim.tty" "$@" >/dev/null &
    sim=$!
    for _ in $(seq 50); do [ -e "$work/sim.tty" ] && break; sleep 0.1; done
    printf '[Comunication]\r\nCOM=1\r\nDevice1=%s\r\n[Language]\r\nLanguage=%s\r\n' \
        "$work/sim.tty" "$lang" >"$work/ini/norlo.ini"
    (cd "$work" && exec "$top/build/app/r73-service") &
    app=$!
    sleep 2
    xdotool search --sync --name "R73-Controller" windowfocus --sync key F7 >/dev/null 2>&1 ||
        xdotool key F7
}
