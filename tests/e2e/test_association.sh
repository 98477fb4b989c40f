# 関連付け(&K) in the configuration dialog switches the .tex association:
# the first press makes this program the user's default for text/x-tex
# (a desktop entry of its own whose Exec line holds the program's full
# path), the second removes it again, and every other byte of mimeapps.list
# (here without a final line break) comes back as it was.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

list=$XDG_CONFIG_HOME/mimeapps.list
entry=$HOME/.local/share/applications/scrivlet-texfile.desktop
printf '[Default Applications]\r\ntext/html=firefox.desktop;\r\n[Added Associations]\r\ntext/plain=vim.desktop;' >"$list"
cp "$list" "$E2E_TMP/original"

e2e_start
e2e_wait_window '^Scrivlet'
main=$E2E_WIN

# ツール(&T) > 設定(&P): the dialog opens on its パス tab.
e2e_focus
e2e_key alt+t
e2e_poll 5 '[ "$(xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null | wc -l)" -gt 1 ]' ||
    e2e_fail "the ツール menu did not open"
e2e_key p
e2e_wait_window '^設定$'
dialog=$E2E_WIN

# press_association: 関連付け(&K), then OK on the message it shows.
press_association() {
    e2e_focus "$dialog"
    e2e_key alt+k
    e2e_wait_window '^情報$' 10
    local box=$E2E_WIN
    e2e_focus "$box"
    e2e_key Return
    e2e_window_gone "$box" 10 || e2e_fail "the association message stayed"
}

press_association
grep -q $'^text/x-tex=scrivlet-texfile.desktop;\r$' "$list" || e2e_fail "no default for text/x-tex: $(cat -A "$list")"
grep -q '^text/html=firefox.desktop;' "$list" || e2e_fail "the other default was lost"
[ -f "$entry" ] || e2e_fail "no desktop entry at $entry"
grep -qxF "Exec=$E2E_PROGRAM %f" "$entry" || e2e_fail "the entry does not start this program: $(grep Exec "$entry")"
if command -v update-desktop-database >/dev/null; then
    cache=$(dirname "$entry")/mimeinfo.cache
    e2e_poll 10 'grep -q "^text/x-tex=.*scrivlet-texfile.desktop" "$cache" 2>/dev/null' ||
        e2e_fail "the desktop's application cache was not refreshed"
fi

press_association
e2e_expect_bytes "$list" "$E2E_TMP/original"
[ ! -e "$entry" ] || e2e_fail "the desktop entry was not removed"

# Cancel the dialog, then quit.
e2e_focus "$dialog"
e2e_key Escape
e2e_window_gone "$dialog" 10 || e2e_fail "the dialog did not close"
e2e_focus "$main"
e2e_key alt+f
e2e_poll 5 '[ "$(xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null | wc -l)" -gt 1 ]' ||
    e2e_fail "the ファイル menu did not open"
e2e_key x
e2e_wait_exit 10 || e2e_fail "the program did not end"
e2e_log "passed"
