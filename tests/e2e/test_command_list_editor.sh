# The command-list editor from the Tool menu: a command typed into its editor
# with the caret inside the braces and a Japanese help text, added and
# confirmed with OK, lands in TeX_Command.txt on disk as one Shift-JIS line
# with its caret and help markers; the other entries and the other three
# lists are kept, and the main window stays usable while it is open. After
# F12 completion offers the new entry and puts the caret inside its braces.
# The program runs from a copy with its own commands/ folder, so the build
# tree's lists are never touched.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

shipped=$(dirname "$E2E_PROGRAM")/commands
[ -f "$shipped/TeX_Command.txt" ] || e2e_fail "no shipped lists in $shipped"
e2e_own_program_folder
cp "$shipped"/*.txt "$E2E_PROGRAM_DIR/commands/"
lists=$E2E_PROGRAM_DIR/commands

doc=$E2E_TMP/doc.tex
printf 'x\r\n' >"$doc"
e2e_start "$doc"
e2e_wait_window '^Scrivlet'
main=$E2E_WIN
e2e_focus
e2e_key alt+t c
e2e_wait_window '^コマンドの編集$'
dialog=$E2E_WIN
# The main window takes keys while the dialog is open.
e2e_focus "$main"
e2e_key End
e2e_type 'y'
e2e_focus "$dialog"

# The editor for the command fills the top of the right-hand column.
eval "$(xdotool getwindowgeometry --shell "$dialog")"
xdotool mousemove --sync $((X + 430)) $((Y + 110)) click 1
e2e_type '\mycmd{}'
e2e_key Left Tab
e2e_type 'テスト用'
# Tab: from the help box to 追加; space presses it. Then past the disabled
# 編集 and 削除 to OK.
e2e_key Tab space
e2e_key Tab Tab space
e2e_window_gone "$dialog" 10 || e2e_fail "the dialog did not close on OK"

# "\mycmd{" ESC c "}" ESC h "テスト用" in Shift-JIS.
entry=$(printf '\\mycmd{\x1bc}\x1bh\x83\x65\x83\x58\x83\x67\x97\x70' | od -An -v -tx1 | tr -d ' \n')
found=0
while IFS= read -r line; do
    [ "$line" = "$entry" ] && found=$((found + 1))
done < <(python3 -c 'import sys; [print(l.hex()) for l in open(sys.argv[1], "rb").read().split(b"\r\n")]' \
             "$lists/TeX_Command.txt")
[ $found -eq 1 ] || e2e_fail "TeX_Command.txt holds the new entry $found times: $(e2e_hex "$lists/TeX_Command.txt" | tail -c 600)"
# The old entries are all still there, each on a line ended by CR LF.
python3 - "$shipped/TeX_Command.txt" "$lists/TeX_Command.txt" "$entry" <<'PY' || e2e_fail "the list's other entries changed"
import sys
old = open(sys.argv[1], "rb").read()
new = open(sys.argv[2], "rb").read()
assert new.endswith(b"\r\n") and b"\r" not in new.replace(b"\r\n", b"") and b"\n" not in new.replace(b"\r\n", b"")
assert sorted(new.split(b"\r\n")[:-1]) == sorted(old.split(b"\r\n")[:-1] + [bytes.fromhex(sys.argv[3])])
PY
for file in TeX_Command_SP.txt TeX_Command_Math.txt TeX_Template.txt; do
    cmp -s "$shipped/$file" "$lists/$file" || e2e_fail "$file changed"
done

# Completion offers the new entry once F12 has reloaded the lists; what was
# typed into the main window meanwhile is there too.
e2e_focus "$main"
e2e_key F12 ctrl+End
e2e_type '\mycm'
e2e_key Down Return
e2e_type 'z'
e2e_key ctrl+s
# "xy" CR LF "\mycmd{z}"
expected="78 79 0d 0a 5c 6d 79 63 6d 64 7b 7a 7d"
e2e_poll 10 '[ "$(e2e_hex "$doc")" = "$expected" ]' || e2e_fail "the document holds $(e2e_hex "$doc")"
e2e_log "passed"
