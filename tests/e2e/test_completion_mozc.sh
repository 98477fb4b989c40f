#!/bin/bash
# Completion with a Japanese input method on: with ibus and mozc in hiragana
# mode the backslash key starts a composition "￥" instead of reaching the
# program. That composition is taken for the key itself: a backslash is
# typed, the list opens and the input method is off while it shows, so that
# "sec", Down and Enter insert \section{} with the caret in the braces and
# no "￥" (81 8f) anywhere. Once the list is gone the input method is on
# again: "nedan" and the backslash key compose ねだん￥, which Return commits
# as text. The document is saved with Ctrl+S and compared byte for byte.
#
#   bash test_completion_mozc.sh PROGRAM
source "$(dirname "$0")/mozc_session.sh" "$@"

step "program folder with its own lists"
# A copy of the program, so that the lists beside it are this test's.
mkdir -p "$SCRATCH/program/commands"
cp "$PROGRAM" "$SCRATCH/program/" || fail "cannot copy the program"
PROGRAM=$SCRATCH/program/$(basename "$PROGRAM")
printf '\\subsection{\033c}\033h\r\n\\section{\033c}\033h\r\n' >"$SCRATCH/program/commands/TeX_Command.txt"
for list in TeX_Command_SP TeX_Command_Math TeX_Template; do
    : >"$SCRATCH/program/commands/$list.txt"
done

step "document"
DOC=$SCRATCH/doc.tex
EXPECTED=$SCRATCH/expected.tex
printf 'top\r\n' >"$DOC"
# top / \section{ねだん￥}
printf 'top\r\n\\section{\x82\xcb\x82\xbe\x82\xf1\x81\x8f}' >"$EXPECTED"

mozc_start_program "$DOC"

step "backslash key with mozc on"
xdotool key --delay 60 ctrl+End backslash
wait_for 10 sleep_until_idle
step "sec, Down, Enter"
xdotool type --delay 100 sec
xdotool key --delay 100 Down Return
wait_for 10 sleep_until_idle

step "nedan and the backslash key compose text again"
xdotool type --delay 100 nedan
xdotool key --delay 100 backslash
wait_for 10 sleep_until_idle
xdotool key Return
wait_for 10 sleep_until_idle

mozc_save_and_expect "$DOC" "$EXPECTED" "the saved file does not hold \\section{ねだん￥}"
echo "PASS: the backslash key under mozc opened the list and inserted \\section{}"
exit 0
