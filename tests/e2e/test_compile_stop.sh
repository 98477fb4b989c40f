# A document that \inputs a file that does not exist makes pLaTeX ask for
# another name. With the option 「エラーで停止しない」 on (the default) the
# typesetter does not wait: it ends by itself and the error list shows the
# error. With the option off it waits at its prompt in the compile window,
# and "中止" ends it: the window closes, the program goes on, and the error
# list shows what the log holds (pLaTeX, killed at its prompt, leaves its log
# empty or cut short).
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
[ -x /usr/bin/platex ] || { e2e_log "skipped: /usr/bin/platex is not installed"; exit 77; }

doc=$E2E_TMP/doc
mkdir -p "$doc"
e2e_sjis '\\documentclass{jsarticle}\n\\begin{document}\n\\input{nofile}\n\\end{document}\n' "$doc/m.tex"

list_first_row() {
    read -r width height <<<"$(e2e_window_size)"
    e2e_click $((width - 100)) 75
    sleep 0.5
    e2e_key Home ctrl+c
    e2e_clipboard
}

# --- non-stop: ends by itself -------------------------------------------------------
e2e_write_settings <<'INI'
[Path]
LaTeX="/usr/bin/platex"
INI
e2e_start "$doc/m.tex"
e2e_wait_window '^Scrivlet'
e2e_focus
e2e_key ctrl+F9
e2e_poll 60 'grep -q "^No pages of output" "$doc/m.log" 2>/dev/null && [ -z "$(e2e_windows "^コンパイル")" ]' ||
    e2e_fail "pLaTeX did not end by itself in non-stop mode"
row=$(list_first_row)
[ "$row" = "m.tex: ! LaTeX Error: File \`nofile.tex' not found." ] || e2e_fail "the first row is '$row'"
e2e_close_request "$E2E_WIN"
e2e_wait_exit 20 || e2e_fail "the program did not end"
rm -f "$doc/m.log"

# --- the option off: waits at the prompt until "中止" -------------------------------
e2e_write_settings <<'INI'
[Path]
LaTeX="/usr/bin/platex"
[Option]
NonStop="0"
INI
e2e_start "$doc/m.tex"
e2e_wait_window '^Scrivlet'
main=$E2E_WIN
e2e_focus
e2e_key ctrl+F9
e2e_wait_window '^コンパイル' 30
compile=$E2E_WIN
# It waits for an answer: still there a while later, and pLaTeX still runs.
e2e_poll 30 'grep -q "Enter file name" "$doc/m.log" 2>/dev/null || pgrep -P "$E2E_PID" -x platex >/dev/null' ||
    e2e_fail "pLaTeX did not start"
sleep 2
[ -n "$(e2e_windows '^コンパイル')" ] || e2e_fail "the compile window closed although pLaTeX waits for input"
pgrep -P "$E2E_PID" >/dev/null || e2e_fail "pLaTeX ended by itself"
# The input line has the focus; Tab goes to "中止", Space presses it.
e2e_focus "$compile"
e2e_key Tab space
e2e_window_gone "$compile" 15 || e2e_fail "the compile window stayed after 中止"
e2e_poll 10 '! pgrep -P "$E2E_PID" >/dev/null' || e2e_fail "pLaTeX still runs after 中止"
e2e_running || e2e_fail "the program ended with pLaTeX"
E2E_WIN=$main
row=$(list_first_row)
e2e_key End ctrl+c
last=$(e2e_clipboard)
[ "$last" = "$(tail -n 1 "$doc/m.log")" ] || e2e_fail "after 中止 the last row is '$last', not the log's last line"
e2e_log "passed"
