# Command completion driven by real keys, with candidate lists of the test's
# own beside a copy of the program:
#   - "\sec", Down, Enter inserts \section{} with the caret inside the braces,
#     and the help window shows the entry's help;
#   - "%" at the start of a line offers the templates; "f" narrows them, and
#     accepting one replaces the line;
#   - Ctrl with the backslash key inside $...$ offers the math list, not the
#     set-up list;
#   - F12 reloads the lists: an entry added to a file is then offered.
# The saved file must hold exactly what these give.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_own_program_folder

# List files: Shift-JIS, CR LF, ESC c the caret, ESC h the help, ESC n a break.
lists=$E2E_PROGRAM_DIR/commands
# 節の見出し / 引数: 見出し
printf '\\subsection{\033c}\033h\x8f\xac\x90\xdf\r\n\\section{\033c}\033h\x90\xdf\x82\xcc\x8c\xa9\x8f\x6f\x82\xb5\033n\x88\xf8\x90\x94: \x8c\xa9\x8f\x6f\x82\xb5\r\n\\left( \033c \\right)\033h\r\n' >"$lists/TeX_Command.txt"
printf '\\sqbad{\033c}\033h\r\n\\documentclass{\033c}\033h\r\n' >"$lists/TeX_Command_SP.txt"
printf '\\sqrt{\033c}\033h\x95\xbd\x95\xfb\x8d\xaa\r\n\\alpha\033h\r\n' >"$lists/TeX_Command_Math.txt"
printf '%%table\033n\\begin{table}\033n\033c\033n\\end{table}\033h\r\n%%figure\033n\\begin{figure}[htbp]\033n  \033c\033n\\end{figure}\033h\x90\x7d\r\n' >"$lists/TeX_Template.txt"

doc=$E2E_TMP/doc.tex
printf 'top\r\n' >"$doc"

e2e_start "$doc"
e2e_wait_window '^Scrivlet'
e2e_focus
e2e_key ctrl+End

# "\sec" offers \section{} alone: \subsection{} holds no "\SEC".
e2e_type '\sec'
e2e_key Down Return
e2e_type 'X'
e2e_key End Return

# A template at the start of a line.
e2e_type '%f'
e2e_key Down Return
e2e_type 'Y'
e2e_key ctrl+End Return

# Ctrl+backslash inside $...$: the math list.
e2e_type '$a+$'
e2e_key Left ctrl+backslash
e2e_type 'sq'
e2e_key Down Return
e2e_key ctrl+End Return

# An entry added to the file is offered after F12.
printf '\\zzznew{\033c}\033h\r\n' >>"$lists/TeX_Command.txt"
e2e_key F12
e2e_type '\zzz'
e2e_key Down Return
e2e_key ctrl+s

printf 'top\r\n\\section{X}\r\n%%figure\r\n\\begin{figure}[htbp]\r\n  Y\r\n\\end{figure}\r\n$a+\\sqrt{}$\r\n\\zzznew{}' \
    >"$E2E_TMP/expected"
e2e_poll 10 'cmp -s "$doc" "$E2E_TMP/expected"' || e2e_expect_bytes "$doc" "$E2E_TMP/expected"

# The help window holds the help of the last entry accepted: \zzznew has
# none. Accept \section{} once more and read the help window's text.
e2e_key ctrl+End Return
e2e_type '\sect'
e2e_key Down Return
e2e_key F4
e2e_wait_window 'ヘルプウインドウ'
help_win=$E2E_WIN
e2e_focus "$help_win"
e2e_key ctrl+a
help=$(e2e_selection)
[ "$help" = "$(printf '節の見出し\n引数: 見出し')" ] || e2e_fail "the help window shows '$help'"
e2e_log "passed"
