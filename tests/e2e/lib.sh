# Shared harness of the end-to-end tests: each tests/e2e/test_*.sh starts the
# built program as its own process on a virtual X server and drives it with
# real key and mouse events. Source it first thing:
#
#     source "$(dirname "$0")/lib.sh"
#     e2e_init "$@"                 # $1: the program; starts Xvfb, scratch HOME
#     e2e_write_settings <<'INI'    # optional: a settings file to start with
#     [Path]
#     LaTeX="/usr/bin/platex"
#     INI
#     e2e_start doc.tex             # the program in the background: $E2E_PID
#     e2e_wait_window               # its main window: $E2E_WIN
#     e2e_key ctrl+s
#     e2e_wait_exit 10 || e2e_fail "did not end"
#
# Every wait polls with a timeout; nothing sleeps blindly. e2e_fail prints the
# reason and the program's output, saves a screenshot into the build's test
# folder ($E2E_ARTIFACTS) and exits 1. Exit 77 (skipped) only when a tool is
# missing. Everything runs without standard input and without a window
# manager: windows get the focus from xdotool, and a title bar's close button
# is stood in for by the close request e2e_close_request sends.

set -u

E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
E2E_NAME=$(basename "$0" .sh)
E2E_PID=""
E2E_WIN=""
E2E_XVFB_PID=""

e2e_log() { echo "[$E2E_NAME] $*"; }

# e2e_init PROGRAM: checks the tools, makes the scratch folders (HOME,
# XDG_CONFIG_HOME, XDG_RUNTIME_DIR under $E2E_TMP) and starts Xvfb on a free
# display, stopped again on exit.
e2e_init() {
    E2E_PROGRAM=${1:?usage: $0 PROGRAM}
    [ -x "$E2E_PROGRAM" ] || { echo "[$E2E_NAME] no program at $E2E_PROGRAM" >&2; exit 1; }
    local tool
    for tool in Xvfb xdotool python3; do
        command -v "$tool" >/dev/null || { e2e_log "skipped: $tool is not installed"; exit 77; }
    done
    E2E_PROGRAM=$(cd "$(dirname "$E2E_PROGRAM")" && pwd)/$(basename "$E2E_PROGRAM")
    # build/bin/scrivlet: the artefacts go to build/tests/e2e.
    E2E_ARTIFACTS=$(dirname "$(dirname "$E2E_PROGRAM")")/tests/e2e
    mkdir -p "$E2E_ARTIFACTS"
    E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/scrivlet-e2e.XXXXXX")
    mkdir -p "$E2E_TMP/home" "$E2E_TMP/config" "$E2E_TMP/run"
    chmod 700 "$E2E_TMP/run"
    export HOME=$E2E_TMP/home XDG_CONFIG_HOME=$E2E_TMP/config XDG_RUNTIME_DIR=$E2E_TMP/run
    export LANG=C.UTF-8 LC_ALL=C.UTF-8
    export QT_QPA_PLATFORM=xcb
    unset WAYLAND_DISPLAY SESSION_MANAGER QT_IM_MODULE XMODIFIERS
    E2E_SETTINGS=$XDG_CONFIG_HOME/Veltrane/Scrivlet.ini
    trap e2e_cleanup EXIT

    # Xvfb picks a free display itself and writes its number to the pipe.
    local fifo=$E2E_TMP/display
    mkfifo "$fifo"
    Xvfb -displayfd 4 -screen 0 1280x1024x24 -nolisten tcp 4>"$fifo" >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    local number=""
    read -r -t 20 number <"$fifo" || true
    [ -n "$number" ] || { cat "$E2E_TMP/xvfb.log" >&2; e2e_fail "Xvfb did not start"; }
    export DISPLAY=:$number
    e2e_log "Xvfb on $DISPLAY"
}

e2e_cleanup() {
    local status=$?
    if [ -n "$E2E_PID" ] && kill -0 "$E2E_PID" 2>/dev/null; then
        kill "$E2E_PID" 2>/dev/null
        e2e_poll 5 '! kill -0 "$E2E_PID" 2>/dev/null' || kill -9 "$E2E_PID" 2>/dev/null
    fi
    [ -n "$E2E_XVFB_PID" ] && kill "$E2E_XVFB_PID" 2>/dev/null && wait "$E2E_XVFB_PID" 2>/dev/null
    [ $status -eq 0 ] && rm -rf "$E2E_TMP"
    [ $status -ne 0 ] && [ -n "${E2E_TMP:-}" ] && echo "[$E2E_NAME] scratch files kept in $E2E_TMP"
    return $status
}

# e2e_fail MESSAGE: reports, saves a screenshot and the program's output, exits 1.
e2e_fail() {
    echo "[$E2E_NAME] FAIL: $*" >&2
    if [ -n "${DISPLAY:-}" ] && [ -n "${E2E_ARTIFACTS:-}" ]; then
        local shot=$E2E_ARTIFACTS/$E2E_NAME.png
        python3 "$E2E_DIR/x11tool.py" screenshot "$shot" 2>/dev/null && echo "[$E2E_NAME] screenshot: $shot" >&2
    fi
    if [ -s "${E2E_TMP:-/nonexistent}/program.log" ]; then
        echo "[$E2E_NAME] program output:" >&2
        sed 's/^/    /' "$E2E_TMP/program.log" >&2
    fi
    exit 1
}

# e2e_poll SECONDS CONDITION: evaluates the shell CONDITION every 0.1 s until
# it holds (0) or the time is up (1).
e2e_poll() {
    local deadline=$((SECONDS + $1))
    while ! eval "$2"; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.1
    done
    return 0
}

# e2e_write_settings: the settings file the program starts with, from stdin.
e2e_write_settings() {
    mkdir -p "$(dirname "$E2E_SETTINGS")"
    cat >"$E2E_SETTINGS"
}

# e2e_ini_value SECTION NAME: a string value of the settings file, unquoted
# (empty when missing). Escapes are left as they are.
e2e_ini_value() {
    [ -f "$E2E_SETTINGS" ] || return 0
    awk -v section="[$1]" -v name="$2" '
        { sub(/\r$/, "") }
        /^\[/ { inside = (tolower($0) == tolower(section)); next }
        inside {
            eq = index($0, "=")
            if (eq && tolower(substr($0, 1, eq - 1)) == tolower(name)) {
                value = substr($0, eq + 1); sub(/^"/, "", value); sub(/"$/, "", value); print value; exit
            }
        }' "$E2E_SETTINGS"
}

# e2e_start ARGS...: starts the program with ARGS in the background, with its
# output in $E2E_TMP/program.log; $E2E_PID is its process.
e2e_start() {
    "$E2E_PROGRAM" "$@" </dev/null >"$E2E_TMP/program.log" 2>&1 &
    E2E_PID=$!
    E2E_WIN=""
}

# e2e_windows [NAME-REGEX]: the program's shown windows whose title matches
# NAME-REGEX (a bash regular expression; default any), oldest first. The
# titles are matched here: xdotool's own --name does not match Japanese.
e2e_windows() {
    local re=${1:-.} win
    for win in $(xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null); do
        [[ "$(xdotool getwindowname "$win" 2>/dev/null)" =~ $re ]] && echo "$win"
    done
    return 0
}

# e2e_wait_window [NAME-REGEX] [SECONDS]: waits for a shown window of the
# program whose title matches NAME-REGEX and puts the newest in $E2E_WIN.
e2e_wait_window() {
    local name=${1:-.} seconds=${2:-20} found=""
    local deadline=$((SECONDS + seconds))
    while :; do
        kill -0 "$E2E_PID" 2>/dev/null || e2e_fail "the program ended while a window '$name' was awaited"
        found=$(e2e_windows "$name" | tail -n 1)
        [ -n "$found" ] && break
        [ $SECONDS -ge $deadline ] && e2e_fail "no window '$name' within $seconds s"
        sleep 0.1
    done
    E2E_WIN=$found
}

# e2e_window_gone WINDOW [SECONDS]: waits until WINDOW is no longer shown.
e2e_window_gone() {
    e2e_poll "${2:-10}" '! xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null | grep -qx "$1"'
}

# e2e_focus [WINDOW]: gives WINDOW ($E2E_WIN) the keyboard focus.
e2e_focus() {
    local win=${1:-$E2E_WIN}
    xdotool windowfocus --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
    e2e_poll 5 '[ "$(xdotool getwindowfocus 2>/dev/null)" = "$win" ]' ||
        e2e_fail "window $win did not get the focus"
}

# e2e_key KEYS...: key presses (xdotool names: ctrl+s, alt+f, Escape, End).
e2e_key() { xdotool key --delay 60 "$@"; }

# e2e_type TEXT: types TEXT, Unicode included, a character at a time.
e2e_type() { xdotool type --delay 120 -- "$1"; }

# e2e_close_request [WINDOW]: what a title bar's close button sends.
e2e_close_request() { python3 "$E2E_DIR/x11tool.py" close "${1:-$E2E_WIN}"; }

# e2e_running: whether the program still runs.
e2e_running() { kill -0 "$E2E_PID" 2>/dev/null; }

# e2e_wait_exit SECONDS: waits for the program to end by itself; 0 when it
# did, with its exit status in $E2E_STATUS.
e2e_wait_exit() {
    e2e_poll "$1" '! e2e_running' || return 1
    wait "$E2E_PID"
    E2E_STATUS=$?
    E2E_PID=""
    return 0
}

# e2e_selection: the text selected last (the X primary selection), as UTF-8;
# empty when nothing is selected.
e2e_selection() { python3 "$E2E_DIR/x11tool.py" clipboard primary; }

# e2e_own_program_folder: runs a copy of the program from a scratch folder
# ($E2E_PROGRAM_DIR), so that the files beside it (commands/, help/) are the
# test's own. Put the files there before e2e_start.
e2e_own_program_folder() {
    E2E_PROGRAM_DIR=$E2E_TMP/program
    mkdir -p "$E2E_PROGRAM_DIR/commands"
    cp "$E2E_PROGRAM" "$E2E_PROGRAM_DIR/" || e2e_fail "cannot copy the program"
    E2E_PROGRAM=$E2E_PROGRAM_DIR/$(basename "$E2E_PROGRAM")
}

# e2e_hex FILE: the bytes of FILE as hex pairs on one line.
e2e_hex() { od -An -v -tx1 "$1" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }

# e2e_expect_bytes FILE EXPECTED-FILE: fails with both hex dumps unless the
# two files hold the same bytes.
e2e_expect_bytes() {
    cmp -s "$1" "$2" && return 0
    echo "[$E2E_NAME] expected bytes:" >&2; od -An -tx1 -c "$2" >&2
    echo "[$E2E_NAME] actual bytes of $1:" >&2; od -An -tx1 -c "$1" >&2
    e2e_fail "$1 does not hold the expected bytes"
}
