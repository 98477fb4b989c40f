# The "File" tab shows the root document of the open file and the files it
# includes; a double click on one of them opens it in the editor.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

dir=$E2E_TMP/book
mkdir -p "$dir/chapters"
printf '\\documentclass{jsbook}\r\n\\begin{document}\r\n\\include{chapters/one}\r\n\\input{two.tex}\r\n\\end{document}\r\n' >"$dir/main.tex"
printf 'one\r\n' >"$dir/chapters/one.tex"
printf 'two\r\n' >"$dir/two.tex"

e2e_start "$dir/two.tex"
e2e_wait_window '^Scrivlet -- .*/two\.tex$'
e2e_focus
e2e_side_panel
# The tree's rows are 14 pixels high, the first centred 61 pixels below
# the window's top.
second_row=$((Y + 75))
e2e_click_at $((PANEL_X + 140)) $TABS_Y      # the "File" tab
sleep 0.3
# main.tex, then chapters/one.tex below it: a double click on the second row.
e2e_click_at $((PANEL_X + 60)) $second_row 2
e2e_wait_window '^Scrivlet -- .*/chapters/one\.tex$' 10
e2e_log "passed"
