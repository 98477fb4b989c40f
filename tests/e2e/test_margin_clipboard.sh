# ツール > 余白設定 opens the margin dialog. With 左余白 25, 上余白 -5 and 下余白
# 20 checked, コピー puts their lines on the clipboard: the bottom margin's
# comment line first, the top margin's line last, CR LF after each. The
# clipboard's text is pasted into the document and saved, so the bytes on
# disk show it (in Shift-JIS). 閉じる(&C) hides the dialog.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
command -v iconv >/dev/null || { e2e_log "skipped: iconv is not installed"; exit 77; }
e2e_write_settings <<'INI'
[Path]
LaTeX="/usr/bin/platex"
INI

doc=$E2E_TMP/margins.tex
printf '\\documentclass{jsarticle}\r\n' >"$doc"
{
    cat "$doc"
    printf '%s\r\n' '% 下余白 20mm: LaTeXに下余白の長さはありません（\topmargin と \textheight などから決まります）' |
        iconv -f UTF-8 -t CP932
    printf '\\setlength{\\oddsidemargin}{25mm}\r\n\\setlength{\\topmargin}{-5mm}\r\n'
} >"$E2E_TMP/expected"

e2e_start "$doc"
e2e_wait_window '^Scrivlet -- '
main=$E2E_WIN
e2e_focus
# 余白設定 is the last item of the ツール menu.
e2e_key alt+t
e2e_poll 5 '[ "$(xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null | wc -l)" -gt 1 ]' ||
    e2e_fail "the ツール menu did not open"
e2e_key Up Return
e2e_wait_window '^余白設定$'
dialog=$E2E_WIN
e2e_focus "$dialog"
eval "$(xdotool getwindowgeometry --shell "$dialog")"

# set_margin COLUMN SLOT VALUE: checks the box of that place (two columns of
# five) and types VALUE into the number box below it.
set_margin() {
    local x=$((X + 12 + $1 * 194)) y=$((Y + 10 + $2 * 48))
    xdotool mousemove --sync $((x + 6)) $((y + 9)) click 1
    xdotool mousemove --sync $((x + 40)) $((y + 31)) click 1
    e2e_key ctrl+a
    e2e_type "$3"
}
set_margin 1 1 25    # 左余白
set_margin 1 0 -5    # 上余白
set_margin 1 4 20    # 下余白
xdotool mousemove --sync $((X + 394)) $((Y + 226)) click 1   # コピー
xdotool mousemove --sync $((X + 394)) $((Y + 192)) click 1   # 閉じる(&C)
e2e_window_gone "$dialog" || e2e_fail "閉じる did not close the dialog"

e2e_focus "$main"
e2e_key ctrl+End ctrl+v ctrl+s
e2e_poll 10 'cmp -s "$doc" "$E2E_TMP/expected"' || e2e_expect_bytes "$doc" "$E2E_TMP/expected"
e2e_log "passed"
