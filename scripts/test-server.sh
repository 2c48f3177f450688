#!/usr/bin/env bash
# A throwaway PostgreSQL server for one test run.
#   scripts/test-server.sh start DIR   a new cluster in a temporary folder,
#                                      reached only over a Unix socket in that
#                                      folder; writes its superuser's
#                                      connection text to DIR/admin.conn
#   scripts/test-server.sh stop DIR    stops it and removes the folder; safe
#                                      to call twice, or with nothing started
# DIR/cluster names the folder, so that stop (or a later start) finds a
# server an interrupted run left behind. Each DIR gets its own folder and
# port: two runs at once (the ordinary and the sanitizer build) do not meet.
set -euo pipefail

usage() {
    echo "usage: $0 start|stop DIR" >&2
    exit 2
}
[ $# -eq 2 ] || usage
command=$1
dir=$2

bin=${RYDEX_PG_BIN:-/usr/lib/postgresql/15/bin}
superuser=rydex_admin

# PostgreSQL refuses to run as root: root hands the cluster to nobody.
as_owner() {
    if [ "$(id -u)" -eq 0 ]; then
        setpriv --reuid=nobody --regid=nogroup --clear-groups -- "$@"
    else
        "$@"
    fi
}

stop() {
    [ -f "$dir/cluster" ] || return 0
    local cluster
    cluster=$(cat "$dir/cluster")
    # Only ever a folder this script made: a damaged record removes nothing else.
    case "$cluster" in
        /tmp/rydex-pg-?????? | /dev/shm/rydex-pg-??????) ;;
        *)
            echo "test-server: not removing '$cluster'" >&2
            rm -f "$dir/cluster" "$dir/admin.conn"
            return 1
            ;;
    esac
    if [ -f "$cluster/data/postmaster.pid" ]; then
        as_owner "$bin/pg_ctl" -D "$cluster/data" -m immediate -w stop >/dev/null 2>&1 || true
    fi
    rm -rf "$cluster"
    rm -f "$dir/cluster" "$dir/admin.conn"
}

start() {
    mkdir -p "$dir"
    stop
    for tool in initdb pg_ctl pg_isready; do
        [ -x "$bin/$tool" ] || {
            echo "test-server: $bin/$tool is missing (Debian: postgresql-15; scripts/setup.sh installs it)" >&2
            exit 1
        }
    done
    local cluster port
    # In memory where the machine has it: every test makes a database of its
    # own, and hundreds of them are written and removed far faster there.
    local base=/tmp
    if [ -d /dev/shm ] && [ -w /dev/shm ]; then
        base=/dev/shm
    fi
    cluster=$(mktemp -d "$base/rydex-pg-XXXXXX")
    echo "$cluster" >"$dir/cluster"
    # The socket's name carries the port: a port of its own per run keeps
    # even a shared socket folder apart. Nothing listens on TCP.
    port=$((20000 + $$ % 20000))
    if [ "$(id -u)" -eq 0 ]; then
        chown nobody:nogroup "$cluster"
    fi
    chmod 700 "$cluster"
    if ! as_owner "$bin/initdb" -D "$cluster/data" -U "$superuser" --auth=trust \
            -E UTF8 --locale=C.UTF-8 --no-sync >"$cluster/initdb.log" 2>&1; then
        cat "$cluster/initdb.log" >&2
        stop
        exit 1
    fi
    # One role signs in with a password, as at a club whose server asks for
    # one; every other role is trusted on the socket.
    as_owner sed -i '1i local all rydex_locked scram-sha-256' "$cluster/data/pg_hba.conf"
    # The socket's folder must be reachable by the tests (they connect as
    # root, or as the user who started the run).
    chmod 711 "$cluster"
    if ! as_owner "$bin/pg_ctl" -D "$cluster/data" -l "$cluster/server.log" -w -t 60 \
            -o "-c listen_addresses='' -k $cluster -p $port -c fsync=off -c synchronous_commit=off -c full_page_writes=off" \
            start >/dev/null; then
        cat "$cluster/server.log" >&2 || true
        stop
        exit 1
    fi
    local tries=0
    until "$bin/pg_isready" -q -h "$cluster" -p "$port" -d postgres -U "$superuser"; do
        tries=$((tries + 1))
        if [ "$tries" -ge 60 ]; then
            echo "test-server: the server did not accept connections" >&2
            cat "$cluster/server.log" >&2 || true
            stop
            exit 1
        fi
        sleep 0.5
    done
    echo "host=$cluster port=$port dbname=postgres user=$superuser" >"$dir/admin.conn"
}

case "$command" in
    start) start ;;
    stop) stop ;;
    *) usage ;;
esac
