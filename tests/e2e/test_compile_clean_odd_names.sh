# A clean document whose folder and file name hold blanks, quotes, ';' and
# '$' compiles with the real pLaTeX (no shell ever sees the names): the DVI
# file is written beside it and the error list holds one row, the log's last
# line "Output written on ... (1 page, ...)" (TeX puts a name with blanks in
# double quotes). The folder's name also has double quotes, which TeX itself
# does not take in a file name.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
[ -x /usr/bin/platex ] || { e2e_log "skipped: /usr/bin/platex is not installed"; exit 77; }
e2e_write_settings <<'INI'
[Path]
LaTeX="/usr/bin/platex"
INI

folder="$E2E_TMP/my doc's \"draft\"; \$HOME (1)"
name="a b'c;\$d.tex"
mkdir -p "$folder"
e2e_sjis '\\documentclass{jsarticle}\n\\begin{document}\nきれいな文書。\n\\end{document}\n' "$folder/$name"

e2e_start "$folder/$name"
e2e_wait_window '^Scrivlet'
e2e_focus
e2e_key ctrl+F9
e2e_poll 90 '[ -f "$folder/a b'"'"'c;\$d.dvi" ] && [ -z "$(e2e_windows "^コンパイル")" ]' ||
    e2e_fail "no DVI file was written, or the compile window stayed: $(ls "$folder")"
tail -n 1 "$folder/a b'c;\$d.log" | grep -q "^Output written on \"a b'c;\$d.dvi\" (1 page" ||
    e2e_fail "the log ends with '$(tail -n 1 "$folder/a b'c;\$d.log")'"

read -r width height <<<"$(e2e_window_size)"
e2e_click $((width - 100)) 75
sleep 0.5
e2e_key Home ctrl+c
first=$(e2e_clipboard)
e2e_key End ctrl+c
last=$(e2e_clipboard)
[[ "$first" == "Output written on \"a b'c;\$d.dvi\" (1 page, "*" bytes)." ]] ||
    e2e_fail "the error list's first row is '$first'"
[ "$first" = "$last" ] || e2e_fail "the error list has more than one row: the last is '$last'"
e2e_log "passed: $first"
