# 終了 from the ファイル menu, chosen with the keyboard, ends the program by
# itself; the settings file then holds the window's geometry, the side panel
# and the shortcuts. A second start brings the changed settings back.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

# quit_by_menu: ファイル(&F), then 終了(&X).
quit_by_menu() {
    e2e_focus
    e2e_key alt+f
    e2e_poll 5 '[ "$(xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null | wc -l)" -gt 1 ]' ||
        e2e_fail "the ファイル menu did not open"
    e2e_key x
    e2e_wait_exit 10 || e2e_fail "the program was still running 10 s after 終了"
    [ "$E2E_STATUS" -eq 0 ] || e2e_fail "the program ended with status $E2E_STATUS"
}

e2e_start
e2e_wait_window '^Scrivlet$'
main=$E2E_WIN
xdotool windowsize --sync "$main" 700 500 2>/dev/null || xdotool windowsize "$main" 700 500
e2e_poll 5 'xdotool getwindowgeometry "$main" | grep -q "Geometry: 700x500"' || e2e_fail "the window was not resized"
# ツール(&T) > 表示(&D) > サポートウインドウ (its first item): the side panel goes.
e2e_focus
e2e_key alt+t
e2e_poll 5 '[ "$(xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null | wc -l)" -gt 1 ]' ||
    e2e_fail "the ツール menu did not open"
e2e_key d
e2e_poll 5 '[ "$(xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null | wc -l)" -gt 2 ]' ||
    e2e_fail "the 表示 submenu did not open"
e2e_key Return
e2e_poll 5 '[ "$(xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null | wc -l)" -eq 1 ]' ||
    e2e_fail "the menus did not close"
quit_by_menu

[ -f "$E2E_SETTINGS" ] || e2e_fail "no settings file was written"
for pair in "Window Width 700" "Window Height 500" "Display RightTree False" "Path LaTeX /usr/bin/platex" \
            "ShortCut FileSave1 Ctrl+S" "ShortCut FileNew Ctrl+N"; do
    set -- $pair
    value=$(e2e_ini_value "$1" "$2")
    [ "$value" = "$3" ] || e2e_fail "settings [$1] $2 is '$value', not '$3'"
done
e2e_log "first run wrote: $(tr '\n' ' ' <"$E2E_SETTINGS" | cut -c1-300)"

# The second start reads them: the same size, and the panel still hidden
# when it writes them again (a default would show it).
e2e_start
e2e_wait_window '^Scrivlet$'
e2e_poll 5 'xdotool getwindowgeometry "$E2E_WIN" | grep -q "Geometry: 700x500"' ||
    e2e_fail "the stored size did not come back: $(xdotool getwindowgeometry "$E2E_WIN")"
quit_by_menu
[ "$(e2e_ini_value Display RightTree)" = False ] || e2e_fail "the hidden side panel did not come back"
[ "$(e2e_ini_value Window Width)" = 700 ] || e2e_fail "the second run did not keep the width"
e2e_log "passed"
