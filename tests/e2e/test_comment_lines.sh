# 編集 > 行操作 from the keyboard: three selected lines (the selection ending
# at the start of the third counts it) get a "%" each with 行をコメント, and
# 行を本文に takes them off again, so the saved bytes are the original ones.
# A kanji whose second byte is 0x5C and a line that was a comment already
# are among them.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

doc=$E2E_TMP/comment.tex
printf 'a\r\n\x95\x5cb\r\n%%c\r\nd\r\n' >"$doc"
cp "$doc" "$E2E_TMP/original"

# line_operation DOWNS: 編集(&E), its last item 行操作, then that submenu's
# item after DOWNS presses of Down.
line_operation() {
    e2e_focus
    e2e_key alt+e
    e2e_poll 5 '[ "$(xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null | wc -l)" -gt 1 ]' ||
        e2e_fail "the 編集 menu did not open"
    e2e_key Up Right
    e2e_poll 5 '[ "$(xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null | wc -l)" -gt 2 ]' ||
        e2e_fail "the 行操作 submenu did not open"
    local i
    for ((i = 0; i < $1; i++)); do e2e_key Down; done
    e2e_key Return
    e2e_poll 5 '[ "$(xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null | wc -l)" -eq 1 ]' ||
        e2e_fail "the menus did not close"
}

e2e_start "$doc"
e2e_wait_window '^Scrivlet -- '
e2e_focus
e2e_key ctrl+Home shift+Down shift+Down
line_operation 0
e2e_key ctrl+s
printf '%%a\r\n%%\x95\x5cb\r\n%%%%c\r\nd\r\n' >"$E2E_TMP/expected"
e2e_poll 10 'cmp -s "$doc" "$E2E_TMP/expected"' || e2e_expect_bytes "$doc" "$E2E_TMP/expected"
line_operation 1
e2e_key ctrl+s
e2e_poll 10 'cmp -s "$doc" "$E2E_TMP/original"' || e2e_expect_bytes "$doc" "$E2E_TMP/original"
e2e_log "passed"
