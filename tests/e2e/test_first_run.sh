# The first run in an empty home: the message to locate the tools comes
# first, then the configuration dialog with the guessed paths (platex from
# PATH, the DVI viewer of the desktop's default application for DVI files),
# and only then the main window. OK keeps the paths, the end of the run
# writes them, and the second start asks nothing and brings them back.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
E2E_FIRST_RUN=1

platex=$(command -v platex) || { e2e_log "skipped: platex is not installed"; exit 77; }
# A DVI viewer registered as the desktop's default for DVI files.
mkdir -p "$E2E_TMP/bin" "$HOME/.local/share/applications"
printf '#!/bin/sh\nexit 0\n' >"$E2E_TMP/bin/dviview"
chmod +x "$E2E_TMP/bin/dviview"
export PATH=$E2E_TMP/bin:$PATH
printf '[Desktop Entry]\nType=Application\nName=DVI view\nExec=dviview %%f\nMimeType=application/x-dvi;\n' \
    >"$HOME/.local/share/applications/test-dviview.desktop"
printf '[Default Applications]\napplication/x-dvi=test-dviview.desktop;\n' >"$XDG_CONFIG_HOME/mimeapps.list"

main_shown() { [ -n "$(e2e_windows '^Scrivlet')" ]; }

e2e_start
e2e_wait_window '^情報$'
box=$E2E_WIN
main_shown && e2e_fail "the main window came before the first-run message"
[ -z "$(e2e_windows '^設定$')" ] || e2e_fail "the dialog came before the first-run message"
e2e_focus "$box"
e2e_key Return
e2e_window_gone "$box" 10 || e2e_fail "the first-run message stayed"

e2e_wait_window '^設定$'
dialog=$E2E_WIN
main_shown && e2e_fail "the main window came before the configuration dialog was closed"
python3 "$E2E_DIR/x11tool.py" screenshot "$E2E_ARTIFACTS/$E2E_NAME-dialog.png" 2>/dev/null
e2e_focus "$dialog"
e2e_key Return  # OK, the default button
e2e_window_gone "$dialog" 10 || e2e_fail "the dialog stayed after OK"

e2e_wait_window '^Scrivlet'
e2e_focus
e2e_key alt+f
e2e_poll 5 '[ "$(xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null | wc -l)" -gt 1 ]' ||
    e2e_fail "the ファイル menu did not open"
e2e_key x
e2e_wait_exit 10 || e2e_fail "the program was still running 10 s after 終了"

[ "$(e2e_ini_value Path LaTeX)" = "$platex" ] ||
    e2e_fail "stored LaTeX path '$(e2e_ini_value Path LaTeX)', not '$platex'"
[ "$(e2e_ini_value Path DVIOUT)" = "$E2E_TMP/bin/dviview" ] ||
    e2e_fail "stored DVI viewer '$(e2e_ini_value Path DVIOUT)', not the registered one"
[ "$(e2e_ini_value Option NonStop)" = "-1" ] || e2e_fail "the non-stop option was not stored on"

# The second start: no message, no dialog, the paths as they were.
e2e_start
e2e_wait_window '^Scrivlet'
sleep 1
[ -z "$(e2e_windows '^(情報|設定)$')" ] || e2e_fail "the second start asked again"
e2e_focus
e2e_key alt+f
e2e_poll 5 '[ "$(xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null | wc -l)" -gt 1 ]' ||
    e2e_fail "the ファイル menu did not open"
e2e_key x
e2e_wait_exit 10 || e2e_fail "the second run did not end"
[ "$(e2e_ini_value Path LaTeX)" = "$platex" ] || e2e_fail "the second run lost the LaTeX path"
[ "$(e2e_ini_value Path DVIOUT)" = "$E2E_TMP/bin/dviview" ] || e2e_fail "the second run lost the viewer path"
e2e_log "passed"
