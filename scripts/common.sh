# shellcheck shell=bash disable=SC2034
# Shared shell functions of scripts/run and scripts/test.
# Source it from bash; every function may also be called on its own, e.g.
#   bash -c '. scripts/common.sh; qv_prepare_local_db /tmp/folder sql'

QV_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-webengine-dev libqt6webenginecore6-bin xvfb openbox
             mariadb-server mariadb-client libmariadb-dev libmariadb3 libicu-dev libcurl4-openssl-dev
             qt6-translations-l10n)

# The repository this file belongs to.
QV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The local server of the program folder.
QV_DB_HOST=127.0.0.1
QV_DB_PORT=3304
QV_DB_NAME=quorvantile
QV_DB_USER=quorvantile
QV_DB_PASSWORD=quorvantile

# mariadbd and mariadb-install-db live in /usr/sbin on Debian, which a plain user's PATH may lack.
case ":$PATH:" in *:/usr/sbin:*) ;; *) PATH="$PATH:/usr/sbin:/sbin" ;; esac
export PATH

qv_log() { printf '%s\n' "quorvantile: $*" >&2; }
qv_die() { qv_log "error: $*"; exit 1; }
qv_is_root() { [ "$(id -u)" -eq 0 ]; }

# Runs a command as root: directly when root, through sudo otherwise.
qv_as_root() {
    if qv_is_root; then "$@"
    elif command -v sudo >/dev/null 2>&1; then sudo "$@"
    else qv_die "need root to run: $* (sudo is not installed)"
    fi
}

# Installs the Debian packages from the arguments that are not installed yet;
# apt-get runs only when something is missing.
qv_ensure_packages() {
    local missing=() p
    for p in "$@"; do
        if [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" != "install ok installed" ]; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    qv_log "installing ${missing[*]}"
    qv_as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
    qv_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
}

# qv_build BUILDDIR TYPE [TARGET...]: configures once, then builds incrementally (all targets,
# or only those named); cmake --build re-runs the configuration itself when a CMakeLists.txt changes.
qv_build() {
    local dir=$1 type=$2
    shift 2
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type"
    fi
    if [ $# -gt 0 ]; then
        cmake --build "$dir" --target "$@"
    else
        cmake --build "$dir"
    fi
}

# The account that reaches a freshly initialised server through its socket:
# root for root, otherwise the system user (unix_socket authentication).
qv_admin_user() { if qv_is_root; then echo root; else id -un; fi; }

# qv_port_answers HOST PORT: true when something accepts a TCP connection there.
qv_port_answers() { (exec 3<>"/dev/tcp/$1/$2") 2>/dev/null; }

# qv_socket_path P: the server's socket. P/mysql/mysqld.sock unless that path is too long
# for a unix socket; then a fixed name under /tmp derived from P.
qv_socket_path() {
    local s="$1/mysql/mysqld.sock"
    if [ ${#s} -gt 100 ]; then
        s="/tmp/quorvantile-$(printf '%s' "$1" | md5sum | cut -c1-12).sock"
    fi
    printf '%s\n' "$s"
}

# qv_sql P [ARGS...]: the command-line client on the local server's socket as the admin account.
qv_sql() {
    local p=$1; shift
    mariadb --no-defaults --socket="$(qv_socket_path "$p")" -u"$(qv_admin_user)" \
        --default-character-set=utf8mb4 "$@"
}

qv_socket_answers() {
    mariadb-admin --no-defaults --socket="$(qv_socket_path "$1")" -u"$(qv_admin_user)" \
        --connect-timeout=2 ping >/dev/null 2>&1
}

# qv_init_datadir P: creates P/mysql/data once. It is initialised under another name first and
# renamed when complete, so an interrupted initialisation is redone on the next run;
# mariadb-install-db does not quote paths, so a folder with blanks is initialised under /tmp.
qv_init_datadir() {
    local p=$1 tmp work=""
    [ -d "$p/mysql/data" ] && return 0
    mkdir -p "$p/mysql"
    case $p in
        *[[:space:]*?[]*) work=$(mktemp -d /tmp/quorvantile-init.XXXXXX); tmp="$work/data" ;;
        *) tmp="$p/mysql/data.new"; rm -rf "$tmp" ;;
    esac
    qv_log "initialising the local database folder $p/mysql/data"
    local args=(--no-defaults --datadir="$tmp" --skip-test-db --auth-root-authentication-method=socket)
    if qv_is_root; then args+=(--user=root); else args+=(--auth-root-socket-user="$(id -un)"); fi
    if ! mariadb-install-db "${args[@]}" >"$p/mysql/install.log" 2>&1; then
        cat "$p/mysql/install.log" >&2
        rm -rf "$tmp" ${work:+"$work"}
        qv_die "mariadb-install-db failed"
    fi
    mv "$tmp" "$p/mysql/data"
    [ -z "$work" ] || rm -rf "$work"
}

# qv_start_server P: starts the local server of P on 127.0.0.1:3304 when nothing answers there,
# detached from this shell, and waits (at most 30 s) until it answers.
qv_start_server() {
    local p=$1 sock i pid
    if qv_port_answers "$QV_DB_HOST" "$QV_DB_PORT"; then
        return 0
    fi
    sock=$(qv_socket_path "$p")
    local args=(--no-defaults --datadir="$p/mysql/data" --port="$QV_DB_PORT"
                --bind-address="$QV_DB_HOST" --socket="$sock"
                --pid-file="$p/mysql/mysqld.pid" --log-error="$p/mysql/mysqld.err")
    qv_is_root && args+=(--user=root)
    set +m  # no job control: setsid then detaches this very process, so $! is the server
    qv_log "starting the local database server on $QV_DB_HOST:$QV_DB_PORT"
    setsid nohup mariadbd "${args[@]}" </dev/null >/dev/null 2>&1 &
    pid=$!
    for ((i = 0; i < 300; i++)); do
        if qv_port_answers "$QV_DB_HOST" "$QV_DB_PORT" && qv_socket_answers "$p"; then
            return 0
        fi
        if ! kill -0 "$pid" 2>/dev/null; then
            tail -n 30 "$p/mysql/mysqld.err" >&2 2>/dev/null || true
            qv_die "the database server stopped at start; see $p/mysql/mysqld.err"
        fi
        sleep 0.1
    done
    tail -n 30 "$p/mysql/mysqld.err" >&2 2>/dev/null || true
    qv_die "the database server did not answer within 30 s; see $p/mysql/mysqld.err"
}

# qv_sed_replacement TEXT: TEXT escaped for a quoted SQL literal and then for a sed replacement.
qv_sed_replacement() {
    local s=$1
    s=${s//\\/\\\\}; s=${s//\'/\\\'}; s=${s//\"/\\\"}      # SQL: \ ' "
    s=${s//\\/\\\\}; s=${s//&/\\&}; s=${s//|/\\|}           # sed: \ & and the delimiter
    printf '%s' "$s"
}

# qv_create_database P SQLDIR: creates the database, its account and loads schema, seed and
# sample once. A failed load drops the database again, so the next run starts over.
qv_create_database() {
    local p=$1 sql=$2
    if [ -n "$(qv_sql "$p" -N -e "SHOW DATABASES LIKE '$QV_DB_NAME'")" ]; then
        return 0
    fi
    [ -f "$sql/schema.sql" ] || qv_die "$sql/schema.sql is missing"
    [ -f "$sql/seed.sql" ] || qv_die "$sql/seed.sql is missing"
    qv_log "creating the database $QV_DB_NAME"
    local h grants=""
    for h in localhost 127.0.0.1 %; do
        grants+="CREATE USER IF NOT EXISTS '$QV_DB_USER'@'$h' IDENTIFIED BY '$QV_DB_PASSWORD';
ALTER USER '$QV_DB_USER'@'$h' IDENTIFIED BY '$QV_DB_PASSWORD';
GRANT ALL PRIVILEGES ON \`$QV_DB_NAME\`.* TO '$QV_DB_USER'@'$h';
"
    done
    qv_sql "$p" -e "CREATE DATABASE \`$QV_DB_NAME\` CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_520_ci;
$grants FLUSH PRIVILEGES;" || qv_die "could not create the database $QV_DB_NAME"
    local appdir
    appdir=$(qv_sed_replacement "$p")
    if ! { cat "$sql/schema.sql"; echo; cat "$sql/seed.sql"; echo
           if [ -f "$sql/sample.sql" ]; then
               sed "s|@@APPDIR@@|$appdir|g" "$sql/sample.sql"
           else
               qv_log "warning: $sql/sample.sql is missing, no sample base loaded"
           fi
         } | qv_sql "$p" "$QV_DB_NAME"; then
        qv_sql "$p" -e "DROP DATABASE IF EXISTS \`$QV_DB_NAME\`" || true
        qv_die "loading the SQL files into $QV_DB_NAME failed"
    fi
}

# qv_write_config P: puts the default config.ini of the repository (data/config.ini, the
# one the build copies beside the program) into P, unless one is there.
qv_write_config() {
    local p=$1 default="$QV_ROOT/data/config.ini"
    [ -f "$p/config.ini" ] && return 0
    [ -f "$default" ] || qv_die "$default is missing"
    cp -- "$default" "$p/config.ini"
}

# qv_prepare_local_db P SQLDIR: data folder, running server, database, config.ini.
qv_prepare_local_db() {
    local p sql=$2
    mkdir -p "$1"
    p=$(realpath -- "$1")
    qv_init_datadir "$p"
    # The program starts its own server (small-server mode); the server is only
    # started here, for a moment, while the database is loaded the first time.
    if [ ! -f "$p/mysql/database-ready" ]; then
        local started=0
        if ! qv_port_answers "$QV_DB_HOST" "$QV_DB_PORT"; then
            qv_start_server "$p"
            started=1
        fi
        if qv_socket_answers "$p"; then
            qv_create_database "$p" "$sql"
            touch "$p/mysql/database-ready"
        else
            qv_log "warning: a server that is not this folder's answers on $QV_DB_HOST:$QV_DB_PORT;" \
                   "the database $QV_DB_NAME is not prepared by this script"
        fi
        if [ "$started" = 1 ]; then
            qv_stop_server "$p"
        fi
    fi
    qv_write_config "$p"
}

# Chromium refuses to run as root without this flag.
qv_webengine_root_flags() {
    if qv_is_root; then
        case " ${QTWEBENGINE_CHROMIUM_FLAGS:-} " in
            *" --no-sandbox "*) ;;
            *) QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:+$QTWEBENGINE_CHROMIUM_FLAGS }--no-sandbox" ;;
        esac
        export QTWEBENGINE_CHROMIUM_FLAGS
    fi
}

# qv_stop_server P: stops the local server of P (the run script stops only the one it started
# to load the database; for a developer: bash -c '. scripts/common.sh; qv_stop_server build/run/bin').
qv_stop_server() {
    local p pid i
    p=$(realpath -m -- "$1")
    [ -f "$p/mysql/mysqld.pid" ] || return 0
    pid=$(tr -dc 0-9 <"$p/mysql/mysqld.pid")
    [ -n "$pid" ] || return 0
    _qv_is_server_of "$pid" "$p" || return 0
    kill -TERM "$pid" 2>/dev/null || return 0
    for ((i = 0; i < 300; i++)); do
        _qv_is_server_of "$pid" "$p" || return 0
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
}

# True while PID is a live mariadbd on the data folder of P (a finished one has no command line).
_qv_is_server_of() {
    # The group takes the redirection's own error too: the process may end meanwhile.
    { tr '\0' ' ' <"/proc/$1/cmdline"; } 2>/dev/null | grep -qF -- "--datadir=$2/mysql/data"
}
