# A Shift-JIS root main.tex that includes chap1.tex with \include and
# chap2.tex with \input, with errors in both: an undefined command, a missing
# $ (met twice, as pLaTeX reports it) and an environment ended by the wrong
# \end. Ctrl+F9 in chap1.tex finds the root and compiles it with the real
# pLaTeX; the error list holds four rows per error and the log's last line,
# each error's first row naming its file. A double click on a chap2.tex error
# opens chap2.tex at the error's line; Return on each of the other errors goes
# to its file and line. The rows are read through the clipboard (Ctrl+C in
# the list), the caret's line by copying it from the editor.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
[ -x /usr/bin/platex ] || { e2e_log "skipped: /usr/bin/platex is not installed"; exit 77; }
e2e_write_settings <<'INI'
[Path]
LaTeX="/usr/bin/platex"
INI

doc=$E2E_TMP/doc
mkdir -p "$doc"
e2e_sjis '\\documentclass{jsarticle}\n\\begin{document}\nはじめに。\n\\include{chap1}\n\\input{chap2}\n\\end{document}\n' "$doc/main.tex"
e2e_sjis '\\section{第1章}\n本文の能力を測る。\\undefinedcommandinchapterone\nここまで。\n' "$doc/chap1.tex"
e2e_sjis '\\section{第2章}\nテキスト。\n数式 x^2 を書く。\n\n\\begin{itemize}\n\\item 表示\n\\end{enumerate}\n' "$doc/chap2.tex"
cp "$doc/chap1.tex" "$E2E_TMP/chap1.expected"

e2e_start "$doc/chap1.tex"
e2e_wait_window '^Scrivlet'
main=$E2E_WIN
e2e_focus
e2e_key ctrl+F9
e2e_poll 90 '[ -f "$doc/main.dvi" ] && [ -z "$(e2e_windows "^コンパイル")" ]' ||
    e2e_fail "the root was not compiled (no main.dvi, or the compile window stayed)"
e2e_running || e2e_fail "the program ended"
# The compile saved chap1.tex first, unchanged.
e2e_expect_bytes "$doc/chap1.tex" "$E2E_TMP/chap1.expected"
grep -q '^(\./chap1\.tex' "$doc/main.log" || grep -q '(\./chap1\.tex' "$doc/main.log" ||
    e2e_fail "main.log does not show chap1.tex read"

read -r width height <<<"$(e2e_window_size)"
list_x=$((width - 100))
list_y=75

# --- the rows, read one by one from the top ---------------------------------------
e2e_click "$list_x" "$list_y"
sleep 0.5
e2e_key Home
rows=()
for i in $(seq 0 17); do
    e2e_key ctrl+c
    rows[$i]=$(e2e_clipboard)
    e2e_key Down
done
for i in "${!rows[@]}"; do e2e_log "row $i: ${rows[$i]}"; done
expect_row() {
    [ "${rows[$1]}" = "$2" ] || e2e_fail "row $1 is '${rows[$1]}', not '$2'"
}
expect_row 0 'chap1.tex: ! Undefined control sequence.'
expect_row 1 'l.2 ...の能力を測る。\undefinedcommandinchapterone'
expect_row 4 'chap2.tex: ! Missing $ inserted.'
expect_row 5 '<inserted text> '
expect_row 7 'l.3 数式 x^'
expect_row 8 'chap2.tex: ! Missing $ inserted.'
expect_row 11 'l.4 '
expect_row 12 'chap2.tex: ! LaTeX Error: \begin{itemize} on input line 5 ended by \end{enumerate}.'
expect_row 14 'See the LaTeX manual or LaTeX Companion for explanation.'
[[ "${rows[16]}" == "Output written on main.dvi ("* ]] || e2e_fail "the last row is '${rows[16]}'"
# Four entries of four rows and the last line: Down stops at row 16.
[ "${rows[17]}" = "${rows[16]}" ] || e2e_fail "there are more than 17 rows: '${rows[17]}'"

# The caret's line in the editor, copied with the line's end.
caret_line() {
    e2e_key shift+Down ctrl+c
    local text
    text=$(e2e_clipboard)
    e2e_key Left
    printf '%s' "${text//$'\r'/}"
}
expect_at() {  # FILE LINE-TEXT
    expected_title="Scrivlet -- $doc/$1"
    e2e_poll 10 '[ "$(xdotool getwindowname "$main")" = "$expected_title" ]' ||
        e2e_fail "the title is '$(xdotool getwindowname "$main")', not that of $1"
    local line
    line=$(caret_line)
    [ "$line" = "$2" ] || e2e_fail "the caret is on '$line' in $1, not on '$2'"
}

# --- a double click on the first chap2.tex error ------------------------------------
# Single clicks further and further down the list find the row's place; they
# are spaced so that no two make a double click.
found=""
for y in $(seq "$list_y" 4 300); do
    e2e_click "$list_x" "$y"
    e2e_key ctrl+c
    if [ "$(e2e_clipboard)" = "${rows[4]}" ]; then found=$y; break; fi
    sleep 0.5
done
[ -n "$found" ] || e2e_fail "row 4 of the error list was not found on the screen"
sleep 0.5
e2e_click "$list_x" "$found" 2
expect_at chap2.tex '数式 x^2 を書く。'

# --- Return on every entry -----------------------------------------------------------
jump() {  # ENTRY
    e2e_click "$list_x" "$list_y"
    sleep 0.5
    e2e_key Home
    local k
    for k in $(seq 1 $((4 * $1))); do e2e_key Down; done
    e2e_key Return
}
jump 0
expect_at chap1.tex '本文の能力を測る。\undefinedcommandinchapterone'
jump 2
expect_at chap2.tex ''
jump 3
expect_at chap2.tex '\end{enumerate}'
jump 1
expect_at chap2.tex '数式 x^2 を書く。'
e2e_log "passed"
