# Private MariaDB servers: a data directory of their own, a socket of their own, listening on
# 127.0.0.1 only. Sourced by scripts/test and scripts/run.

MARIADB_PID=

# Is anything listening on 127.0.0.1:PORT?
port_in_use() {
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

# A loopback port that nothing listens on now.
free_port() {
    local port
    while :; do
        port=$((20000 + RANDOM % 40000))
        port_in_use "$port" || { echo "$port"; return; }
    done
}

mariadb_user_flag() {
    [ "$(id -u)" -eq 0 ] && echo --user=root
}

# mariadb_install DATADIR: an empty server with root over the socket and no test database.
mariadb_install() {
    mkdir -p "$1"
    mariadb-install-db --no-defaults $(mariadb_user_flag) --datadir="$1" \
        --auth-root-authentication-method=normal --skip-test-db \
        --innodb-log-file-size=4M >"$1/install.log" 2>&1 || {
        cat "$1/install.log" >&2
        return 1
    }
}

# mariadb_start DATADIR SOCKET PORT: starts the server and waits until it answers.
mariadb_start() {
    local datadir=$1 socket=$2 port=$3 i
    mariadbd --no-defaults $(mariadb_user_flag) --datadir="$datadir" --port="$port" \
        --bind-address=127.0.0.1 --socket="$socket" --pid-file="$datadir/mariadbd.pid" \
        --log-error="$datadir/error.log" --innodb-buffer-pool-size=32M &
    MARIADB_PID=$!
    for i in $(seq 1 300); do
        if mariadb-admin --no-defaults --socket="$socket" -uroot ping >/dev/null 2>&1; then
            return 0
        fi
        if ! kill -0 "$MARIADB_PID" 2>/dev/null; then
            break
        fi
        sleep 0.1
    done
    echo "The MariaDB server did not start; its log follows." >&2
    tail -n 20 "$datadir/error.log" >&2
    mariadb_stop
    return 1
}

# Stops the server started by mariadb_start and waits until it has gone.
mariadb_stop() {
    if [ -n "$MARIADB_PID" ]; then
        kill -TERM "$MARIADB_PID" 2>/dev/null
        wait "$MARIADB_PID" 2>/dev/null
        MARIADB_PID=
    fi
}

# mariadb_admin SOCKET [ARGS...]: the client as root over the server's socket.
mariadb_admin() {
    local socket=$1
    shift
    mariadb --no-defaults --socket="$socket" -uroot "$@"
}
