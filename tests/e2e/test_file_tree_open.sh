# The "File" tab shows the root document of the open file and the files it
# includes; a double click on one of them opens it in the editor.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_write_settings <<'INI'
[Path]
LaTeX="/usr/bin/platex"
INI

dir=$E2E_TMP/book
mkdir -p "$dir/chapters"
printf '\\documentclass{jsbook}\r\n\\begin{document}\r\n\\include{chapters/one}\r\n\\input{two.tex}\r\n\\end{document}\r\n' >"$dir/main.tex"
printf 'one\r\n' >"$dir/chapters/one.tex"
printf 'two\r\n' >"$dir/two.tex"

e2e_start "$dir/two.tex"
e2e_wait_window '^Scrivlet -- .*/two\.tex$'
e2e_focus
eval "$(xdotool getwindowgeometry --shell "$E2E_WIN")"
panel=$((X + WIDTH - 195))
tabs=$((Y + 40))
# The tree's rows are 14 pixels high, the first centred 61 pixels below
# the window's top.
second_row=$((Y + 75))

xdotool mousemove --sync $((panel + 140)) $tabs click 1   # the "File" tab
sleep 0.3
# main.tex, then chapters/one.tex below it: a double click on the second row.
xdotool mousemove --sync $((panel + 60)) $second_row click --repeat 2 --delay 80 1
e2e_wait_window '^Scrivlet -- .*/chapters/one\.tex$' 10
e2e_log "passed"
