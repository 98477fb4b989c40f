# Opens a Shift-JIS document named on the command line, types Japanese text
# at its end (表 and ソ end in the byte 0x5C, a backslash when read alone) and
# saves with Ctrl+S: the file must hold the old bytes, kept as they were, and
# the new text in Shift-JIS. The window title names the document exactly.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

doc=$E2E_TMP/文書.tex
# "\section{日本語}" CR LF "表" CR LF: Shift-JIS, the file's own line ends.
printf '\\section{\x93\xfa\x96\x7b\x8c\xea}\r\n\x95\x5c\r\n' >"$doc"
cp "$doc" "$E2E_TMP/expected"
# What is typed below: "ソ表 x\y" at the start of the last (empty) line.
printf '\x83\x5c\x95\x5c x\\y' >>"$E2E_TMP/expected"

e2e_start "$doc"
e2e_wait_window '^Scrivlet'
title=$(xdotool getwindowname "$E2E_WIN")
[ "$title" = "Scrivlet -- $doc" ] || e2e_fail "window title is '$title', not 'Scrivlet -- $doc'"

e2e_focus
e2e_key ctrl+End
e2e_type 'ソ表 x\y'
e2e_key ctrl+s
e2e_poll 10 'cmp -s "$doc" "$E2E_TMP/expected"' || e2e_expect_bytes "$doc" "$E2E_TMP/expected"
e2e_log "saved bytes: $(e2e_hex "$doc")"
title=$(xdotool getwindowname "$E2E_WIN")
[ "$title" = "Scrivlet -- $doc" ] || e2e_fail "after saving the window title is '$title'"
e2e_log "passed"
