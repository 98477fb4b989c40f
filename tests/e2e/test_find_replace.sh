# Find and replace from the keyboard. Ctrl+F, a pattern and Enter select the
# first hit after the caret and close the dialog; F3 then selects each next
# hit (what is typed over each selection shows which one it was). Ctrl+R with
# a replacement replaces one hit per Enter or F3, Ctrl+Z takes one back, and
# F3 at the end of the document changes nothing. Checked on the saved bytes.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

doc=$E2E_TMP/find.tex
printf 'abc abc\r\na\r\nbc\r\nxy xy \x95\x5cxy\r\n' >"$doc"

# expect_saved BYTES: Ctrl+S, then the file must hold BYTES (printf format).
expect_saved() {
    printf "$1" >"$E2E_TMP/expected"
    e2e_focus "$main"
    e2e_key ctrl+s
    e2e_poll 10 'cmp -s "$doc" "$E2E_TMP/expected"' || e2e_expect_bytes "$doc" "$E2E_TMP/expected"
}

# open_dialog KEY: the dialog opened by KEY, focused; $dialog is its window.
open_dialog() {
    e2e_focus "$main"
    e2e_key "$1"
    e2e_wait_window '^検索・置換ダイアログ$'
    dialog=$E2E_WIN
    e2e_focus "$dialog"
}

e2e_start "$doc"
e2e_wait_window '^Scrivlet -- '
main=$E2E_WIN
e2e_focus
e2e_key ctrl+Home

open_dialog ctrl+f
e2e_type abc
e2e_key Return
e2e_window_gone "$dialog" || e2e_fail "OK did not close the dialog"
e2e_focus "$main"
e2e_type 1
e2e_key F3
e2e_type 2
# The third hit runs over a line break: "a" CR LF "bc".
e2e_key F3
e2e_type 3
expect_saved '1 2\r\n3\r\nxy xy \x95\x5cxy\r\n'

open_dialog ctrl+r
# The pattern field still holds abc, selected: typing replaces it.
e2e_type xy
e2e_key Tab
e2e_type Q
e2e_key Return
e2e_window_gone "$dialog" || e2e_fail "OK did not close the dialog in replace mode"
expect_saved '1 2\r\n3\r\nQ xy \x95\x5cxy\r\n'
e2e_key F3
expect_saved '1 2\r\n3\r\nQ Q \x95\x5cxy\r\n'
e2e_key ctrl+z
expect_saved '1 2\r\n3\r\nQ xy \x95\x5cxy\r\n'
# From the top again: the two that are left, then nothing.
e2e_key ctrl+Home F3 F3
expect_saved '1 2\r\n3\r\nQ Q \x95\x5cQ\r\n'
e2e_key F3
expect_saved '1 2\r\n3\r\nQ Q \x95\x5cQ\r\n'
e2e_log "passed"
