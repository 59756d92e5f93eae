#!/usr/bin/env bash
# The real program, run as a user runs it, on a virtual display inside a private network
# namespace, so that its built-in 127.0.0.1:3306 is ours alone.
#
#   program_test.sh connected PROGRAM SOURCE_DIR OUTPUT_DIR
#       a provisioned server listens on 3306: the window opens with the program's connection
#       open on the server, and closing it closes the connection and ends the process with 0.
#   program_test.sh no-server PROGRAM SOURCE_DIR OUTPUT_DIR
#       nothing listens: a message box comes up over the window; once it is dismissed the
#       window stays, and closing it ends the process with 0.
# Screenshots are left in OUTPUT_DIR.
set -euo pipefail
mode=$1 program=$2 source=$3 output=$4

source "$source/scripts/lib/mariadb.sh"
if [ -z "${IN_PRIVATE_NETWORK:-}" ]; then
    unshare_flags=-n
    [ "$(id -u)" -eq 0 ] || unshare_flags=-rn
    if unshare "$unshare_flags" true 2>/dev/null; then
        exec unshare "$unshare_flags" env IN_PRIVATE_NETWORK=1 bash "$0" "$@"
    fi
    # No network namespaces on this machine: the host's loopback serves while 3306 is free.
    if port_in_use 3306; then
        echo "FAIL: no private network namespace here, and 127.0.0.1:3306 is taken" >&2
        exit 1
    fi
    IN_PRIVATE_NETWORK=host
fi
[ "$IN_PRIVATE_NETWORK" = host ] || ip link set lo up
unset QT_QPA_PLATFORM

scratch=$(mktemp -d "${TMPDIR:-/tmp}/program-test.XXXXXX")
xvfb_pid= program_pid=
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
    mariadb_stop
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    import -window root "$output/$mode-failure.png" 2>/dev/null || true
    exit 1
}

# A display of our own; Xvfb picks a free number and writes it once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$scratch/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do
    [ -s "$scratch/display" ] && break
    sleep 0.1
done
[ -s "$scratch/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(cat "$scratch/display")"

socket="$scratch/mariadb.sock"
program_connections() {
    mariadb_admin "$socket" -N -e \
        "select count(*) from information_schema.processlist where user='kobrit'"
}

# Waits for a window with the title and prints its id.
wait_for_window() {
    local id
    for _ in $(seq 1 150); do
        id=$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

close_window() {
    /usr/bin/python3 "$source/app/tests/close_window.py" "$1"
}

if [ "$mode" = connected ]; then
    mariadb_install "$scratch/data"
    mariadb_start "$scratch/data" "$socket" 3306
    mariadb_admin "$socket" <"$source/db/schema.sql"
fi

"$program" &
program_pid=$!
title='Brelmo-账号管理系统1.0版本'

if [ "$mode" = no-server ]; then
    box=$(wait_for_window '温馨提示！') || fail "no message box came up"
    import -window root "$output/no-server-message.png"
    xdotool windowactivate --sync "$box" key --clearmodifiers Return 2>/dev/null ||
        xdotool key Return
    for _ in $(seq 1 50); do
        xdotool search --name '^温馨提示！$' >/dev/null 2>&1 || break
        sleep 0.1
    done
    xdotool search --name '^温馨提示！$' >/dev/null 2>&1 && fail "the message box did not close"
fi

window=$(wait_for_window "$title") || fail "the main window did not open"
sleep 0.5
kill -0 "$program_pid" 2>/dev/null || fail "the program ended by itself"
import -window root "$output/$mode-main-window.png"
if [ "$mode" = connected ]; then
    [ "$(program_connections)" = 1 ] || fail "the program's connection is not open on the server"
fi

close_window "$window"
status=0
wait "$program_pid" || status=$?
program_pid=
[ "$status" -eq 0 ] || fail "the program exited with $status"
if [ "$mode" = connected ]; then
    for _ in $(seq 1 50); do
        [ "$(program_connections)" = 0 ] && break
        sleep 0.1
    done
    [ "$(program_connections)" = 0 ] || fail "the connection stayed open after the window closed"
fi
echo "PASS: $mode"
