#!/bin/bash
# Japanese input through a real input method: ibus with the mozc engine types
# "nihongo", converts it with Space and commits it with Return in the middle
# of a line of a Shift-JIS document, which is then saved with Ctrl+S. The
# saved file must hold the rest of the document byte for byte, with 日本語
# (93 fa 96 7b 8c ea) at the caret.
#
#   bash test_ime_mozc.sh PROGRAM
#
# Exit 0 passed, 1 failed, 77 skipped (a tool is missing).
# With SCRIVLET_E2E_ARTIFACTS set to a folder, the screen is kept there as
# X window dumps while composing (ime-preedit.xwd) and converting
# (ime-converting.xwd), and when a step fails (ime-failed.xwd).
source "$(dirname "$0")/mozc_session.sh" "$@"

step "document"
# \documentclass{jsarticle} / \begin{document} / 表示テストABCDEF / \end{document},
# LF line breaks. 表 ends in the byte 0x5C.
DOC=$SCRATCH/doc.tex
EXPECTED=$SCRATCH/expected.tex
printf '%s\n%s\n\x95\x5c\x8e\xa6\x83\x65\x83\x58\x83\x67ABC%sDEF\n%s\n' \
    '\documentclass{jsarticle}' '\begin{document}' '' '\end{document}' >"$DOC"
printf '%s\n%s\n\x95\x5c\x8e\xa6\x83\x65\x83\x58\x83\x67ABC\x93\xfa\x96\x7b\x8c\xeaDEF\n%s\n' \
    '\documentclass{jsarticle}' '\begin{document}' '\end{document}' >"$EXPECTED"

mozc_start_program "$DOC"

step "caret into the third line"
# Down twice, End, and Left over "DEF": between "ABC" and "DEF".
xdotool key --delay 60 Down Down End Left Left Left
wait_for 10 sleep_until_idle

step "compose nihongo"
FRAME_BEFORE=$(cksum <"$FRAMEBUFFER")
xdotool type --delay 80 nihongo
screen_changed() { [ "$(cksum <"$FRAMEBUFFER")" != "$FRAME_BEFORE" ]; }
wait_for 10 screen_changed || fail "typing with the input method changed nothing on screen"
wait_for 10 sleep_until_idle
[ -n "${SCRIVLET_E2E_ARTIFACTS:-}" ] && mkdir -p "$SCRIVLET_E2E_ARTIFACTS" \
    && cp "$FRAMEBUFFER" "$SCRIVLET_E2E_ARTIFACTS/ime-preedit.xwd"
cmp -s "$DOC" <(printf '%s\n%s\n\x95\x5c\x8e\xa6\x83\x65\x83\x58\x83\x67ABCDEF\n%s\n' \
    '\documentclass{jsarticle}' '\begin{document}' '\end{document}') || fail "the document file changed while composing"

step "convert and commit"
FRAME_BEFORE=$(cksum <"$FRAMEBUFFER")
xdotool key space
wait_for 10 screen_changed || fail "Space did not convert"
wait_for 10 sleep_until_idle
[ -n "${SCRIVLET_E2E_ARTIFACTS:-}" ] && cp "$FRAMEBUFFER" "$SCRIVLET_E2E_ARTIFACTS/ime-converting.xwd"
FRAME_BEFORE=$(cksum <"$FRAMEBUFFER")
xdotool key Return
wait_for 10 screen_changed || fail "Return did not commit"
wait_for 10 sleep_until_idle

mozc_save_and_expect "$DOC" "$EXPECTED" "the saved file does not hold 日本語 at the caret with the rest intact"
echo "PASS: 日本語 typed with mozc and saved as 93 fa 96 7b 8c ea in place"
exit 0
