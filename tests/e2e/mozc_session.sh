# Shared part of the end-to-end tests that type through a real input
# method: ibus with the mozc engine in hiragana mode, on a virtual X server,
# as an ordinary user (mozc refuses root). Source it first thing:
#
#     source "$(dirname "$0")/mozc_session.sh" "$@"   # $1: the program
#     ...make the document $DOC...
#     mozc_start_program "$DOC"                      # $APP_PID, $WINDOW
#     xdotool key ...; wait_for 10 sleep_until_idle
#     mozc_save_and_expect "$DOC" "$EXPECTED" "what went wrong"
#
# It gives fail, skip, step, wait_for, alive, sleep_until_idle and the
# scratch folder $SCRATCH (removed at the end, with the helpers the input
# method started there). $FRAMEBUFFER is the screen as an X window dump.
# Exit 0 passed, 1 failed, 77 skipped (a tool is missing).
set -u

PROGRAM=${1:-}
STEP="start"
FRAMEBUFFER=
fail() {
    echo "FAIL [$STEP]: $*" >&2
    if [ -n "${SCRIVLET_E2E_ARTIFACTS:-}" ] && [ -n "$FRAMEBUFFER" ] && [ -f "$FRAMEBUFFER" ]; then
        mkdir -p "$SCRIVLET_E2E_ARTIFACTS" && cp "$FRAMEBUFFER" "$SCRIVLET_E2E_ARTIFACTS/ime-failed.xwd"
    fi
    exit 1
}
skip() {
    echo "SKIP: $*" >&2
    exit 77
}
step() {
    STEP=$1
    echo "-- $STEP"
}

[ -n "$PROGRAM" ] && [ -x "$PROGRAM" ] || fail "no program to test: '${PROGRAM}'"
for tool in Xvfb xdotool dbus-daemon ibus-daemon ibus unshare; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
[ -x /usr/lib/ibus-mozc/ibus-engine-mozc ] || skip "ibus-mozc is not installed"
PROGRAM=$(readlink -f "$PROGRAM")

# mozc refuses to run as root: as root, run the whole test again as an
# ordinary user, of a user namespace where the system allows one, else as
# nobody.
if [ "$(id -u)" = 0 ]; then
    SELF=$(readlink -f "$0")
    if unshare --user --map-user=1000 --map-group=1000 true 2>/dev/null; then
        exec unshare --user --map-user=1000 --map-group=1000 bash "$SELF" "$PROGRAM"
    fi
    command -v setpriv >/dev/null 2>&1 || fail "cannot leave root: no user namespaces and no setpriv"
    exec setpriv --reuid=65534 --regid=65534 --clear-groups env TMPDIR=/tmp bash "$SELF" "$PROGRAM"
fi

SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/scrivlet-ime.XXXXXX") || fail "cannot make a scratch folder"
PIDS=()
cleanup() {
    local pid p
    for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do
        pid=${PIDS[i]}
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    # The input method starts helpers of its own (mozc_server detaches):
    # end those that run in this test's scratch home, and only those.
    for p in /proc/[0-9]*; do
        pid=${p#/proc/}
        [ "$pid" = $$ ] && continue
        if { tr '\0' '\n' <"$p/environ"; } 2>/dev/null | grep -qxF "HOME=$SCRATCH/home"; then
            kill "$pid" 2>/dev/null
        fi
    done
    rm -rf "$SCRATCH"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

# Polls a command until it succeeds, for at most $1 seconds.
wait_for() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.1
    done
}
alive() { kill -0 "$1" 2>/dev/null; }
nonempty() { [ -s "$1" ]; }

step "scratch session"
export HOME=$SCRATCH/home
export XDG_CONFIG_HOME=$HOME/.config XDG_CACHE_HOME=$HOME/.cache XDG_DATA_HOME=$HOME/.local/share
export XDG_RUNTIME_DIR=$HOME/run
mkdir -p "$XDG_CONFIG_HOME/mozc" "$XDG_CACHE_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR" || fail "cannot make the home folders"
chmod 700 "$XDG_RUNTIME_DIR"
export NO_AT_BRIDGE=1 QT_IM_MODULE=ibus LANG=C.UTF-8 LC_ALL=C.UTF-8
unset WAYLAND_DISPLAY QT_QPA_PLATFORM SESSION_MANAGER
# mozc starts switched off unless told otherwise.
cat >"$XDG_CONFIG_HOME/mozc/ibus_config.textproto" <<'EOF'
engines {
  name : "mozc-jp"
  longname : "Mozc"
  layout : "default"
  layout_variant : ""
  layout_option : ""
  rank : 80
}
active_on_launch: True
EOF

# Tool paths stored, so that the first-run notice does not stand in the way.
mkdir -p "$XDG_CONFIG_HOME/Veltrane"
cat >"$XDG_CONFIG_HOME/Veltrane/Scrivlet.ini" <<'EOF'
[Path]
LaTeX="/usr/bin/platex"
DVIOUT="/usr/bin/xdvi"
EOF

step "virtual X server"
mkdir -p "$SCRATCH/fb"
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp -fbdir "$SCRATCH/fb" 3>"$SCRATCH/display" \
    >"$SCRATCH/xvfb.log" 2>&1 &
PIDS+=($!)
wait_for 20 nonempty "$SCRATCH/display" || fail "Xvfb did not start: $(tail -3 "$SCRATCH/xvfb.log")"
export DISPLAY=:$(head -1 "$SCRATCH/display")
FRAMEBUFFER=$SCRATCH/fb/Xvfb_screen0

step "session bus"
dbus-daemon --session --nofork --nopidfile --address="unix:path=$XDG_RUNTIME_DIR/bus" --print-address=3 \
    3>"$SCRATCH/bus" >"$SCRATCH/dbus.log" 2>&1 &
PIDS+=($!)
wait_for 20 nonempty "$SCRATCH/bus" || fail "dbus-daemon did not start: $(tail -3 "$SCRATCH/dbus.log")"
export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$SCRATCH/bus")

step "ibus with mozc"
ibus-daemon --replace --panel=disable >"$SCRATCH/ibus.log" 2>&1 &
IBUS_PID=$!
PIDS+=($IBUS_PID)
ibus_ready() { alive $IBUS_PID && ibus address >/dev/null 2>&1 && [ "$(ibus address)" != "(null)" ]; }
wait_for 30 ibus_ready || fail "ibus-daemon did not start: $(tail -3 "$SCRATCH/ibus.log")"
export IBUS_ADDRESS=$(ibus address)
# `ibus engine NAME` may report failure and still switch.
mozc_on() {
    ibus engine mozc-jp >/dev/null 2>&1
    [ "$(ibus engine 2>/dev/null)" = mozc-jp ]
}
wait_for 30 mozc_on || fail "ibus does not switch to mozc-jp (now: $(ibus engine 2>&1))"

sleep_until_idle() {
    # Two equal dumps of the screen in a row: nothing is being drawn.
    local a b
    a=$(cksum <"$FRAMEBUFFER")
    sleep 0.2
    b=$(cksum <"$FRAMEBUFFER")
    [ "$a" = "$b" ]
}

# mozc_start_program ARGS...: starts $PROGRAM with ARGS, waits for its window
# ($WINDOW), focuses it and waits until nothing is being drawn.
mozc_start_program() {
    step "program window"
    "$PROGRAM" "$@" >"$SCRATCH/program.log" 2>&1 &
    APP_PID=$!
    PIDS+=($APP_PID)
    find_window() {
        alive $APP_PID || return 1
        WINDOW=$(xdotool search --onlyvisible --pid $APP_PID 2>/dev/null | tail -1)
        [ -n "$WINDOW" ]
    }
    wait_for 30 find_window || fail "no window of the program appeared: $(tail -5 "$SCRATCH/program.log")"
    xdotool windowfocus --sync "$WINDOW" 2>/dev/null || fail "cannot focus the window"
    wait_for 20 sleep_until_idle || fail "the window does not come to rest"
}

# mozc_save_and_expect DOC EXPECTED MESSAGE: saves with Ctrl+S and waits for
# DOC to hold the bytes of EXPECTED; fails with MESSAGE and both dumps
# otherwise, or when the program has ended.
mozc_save_and_expect() {
    step "save with Ctrl+S"
    xdotool key ctrl+s
    if ! wait_for 15 cmp -s "$1" "$2"; then
        echo "expected:" >&2
        od -An -tx1 "$2" >&2
        echo "saved:" >&2
        od -An -tx1 "$1" >&2
        fail "$3"
    fi
    alive $APP_PID || fail "the program ended: $(tail -5 "$SCRATCH/program.log")"
}
