# Wheel steps over the editor (button 5: one 120-unit step each, towards the
# user) with the wheel set to move the caret: three steps move it three lines
# down, where the typed text then lands. (Touchpad-sized steps, which
# xdotool cannot make, are covered by the editor's widget tests.)
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_write_settings <<'INI'
[Path]
LaTeX="/usr/bin/platex"
[Option]
WheelMove="-1"
INI

doc=$E2E_TMP/doc.tex
for i in 0 1 2 3 4 5 6 7 8 9; do printf 'line%s\r\n' $i; done >"$doc"
for i in 0 1 2 3 4 5 6 7 8 9; do
    [ $i -eq 3 ] && printf 'W'
    printf 'line%s\r\n' $i
done >"$E2E_TMP/expected"

e2e_start "$doc"
e2e_wait_window '^Scrivlet -- '
e2e_focus
# The pointer over the editor's text, left of the side panel.
eval "$(xdotool getwindowgeometry --shell "$E2E_WIN")"
xdotool mousemove --sync $((X + 250)) $((Y + 250))
xdotool click --repeat 3 --delay 150 5
e2e_type W
e2e_key ctrl+s
e2e_poll 10 'cmp -s "$doc" "$E2E_TMP/expected"' || e2e_expect_bytes "$doc" "$E2E_TMP/expected"
e2e_log "passed"
