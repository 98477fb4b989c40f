# The close request (a title bar's close button) on a modified document asks
# the save question once: キャンセル keeps the program and the text; asked
# again, いいえ(&N) ends the program without writing the document.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

doc=$E2E_TMP/doc.tex
printf 'abc\r\n' >"$doc"
cp "$doc" "$E2E_TMP/expected"

e2e_start "$doc"
e2e_wait_window '^Scrivlet -- '
main=$E2E_WIN
e2e_focus
e2e_type 'z'

# ask_and_answer KEY: the close request, the one question, KEY as the answer.
ask_and_answer() {
    e2e_close_request "$main"
    e2e_wait_window '^情報$' 10
    local box=$E2E_WIN
    e2e_focus "$box"
    e2e_key "$1"
    e2e_window_gone "$box" 10 || e2e_fail "the question stayed after $1"
}

ask_and_answer Escape
sleep 1  # a second question, or the end, would come now; neither may
e2e_running || e2e_fail "the program ended although キャンセル was chosen"
[ -z "$(e2e_windows '^情報$')" ] || e2e_fail "the question came back after キャンセル"
e2e_expect_bytes "$doc" "$E2E_TMP/expected"

ask_and_answer alt+n
# A question asked again would keep the program running: nobody answers it.
if ! e2e_wait_exit 10; then
    [ -n "$(e2e_windows '^情報$')" ] && e2e_fail "the question came back after いいえ"
    e2e_fail "the program did not end within 10 s of いいえ"
fi
e2e_expect_bytes "$doc" "$E2E_TMP/expected"
[ -f "$E2E_SETTINGS" ] && grep -q '^\[ShortCut\]' "$E2E_SETTINGS" || e2e_fail "the settings were not written at the end"
e2e_log "passed"
