# A click on a label in the side panel's "label" tab, and one on a heading
# in its "Section" tab, puts the caret at the start of that entry's line:
# the text typed next lands there, as the saved bytes show.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

doc=$E2E_TMP/outline.tex
make_doc() {  # $1: the text put before line 10, $2: before line 20
    for i in $(seq 0 29); do
        [ $i -eq 10 ] && printf '%s' "$1"
        [ $i -eq 20 ] && printf '%s' "$2"
        case $i in
        10) printf '\\label{eq:first}\r\n' ;;
        20) printf '\\section{\x91\xe6\x88\xea}\r\n' ;;  # \section{第一}
        *) printf 'line %s\r\n' $i ;;
        esac
    done
}
make_doc '' '' >"$doc"
make_doc 'L' 'S' >"$E2E_TMP/expected"

e2e_start "$doc"
e2e_wait_window '^Scrivlet -- '
e2e_focus
e2e_side_panel
first_row=$((Y + 66))  # the middle of a list's first row
e2e_click_at $((PANEL_X + 18)) $TABS_Y       # the "label" tab
sleep 0.3
e2e_click_at $((PANEL_X + 40)) $first_row    # eq:first
e2e_type L
e2e_click_at $((PANEL_X + 62)) $TABS_Y       # the "Section" tab
sleep 0.3
e2e_click_at $((PANEL_X + 50)) $first_row    # 第一
e2e_type S
e2e_key ctrl+s
e2e_poll 10 'cmp -s "$doc" "$E2E_TMP/expected"' || e2e_expect_bytes "$doc" "$E2E_TMP/expected"
e2e_log "passed"
