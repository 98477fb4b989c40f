# Markings from the keyboard: Ctrl+M twice on a row leaves it unmarked; with
# rows 4 and 8 marked, Ctrl+U and Ctrl+D move the caret to column 0 of the
# nearest marked row above and below, and do nothing where there is none.
# Where the caret went is shown by the letters typed there, on the saved bytes.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

doc=$E2E_TMP/marks.tex
for i in 1 2 3 4 5 6 7 8 9 10; do printf 'line%s\r\n' $i; done >"$doc"

e2e_start "$doc"
e2e_wait_window '^Scrivlet -- '
e2e_focus
e2e_key ctrl+Home Down Down End
e2e_key ctrl+m ctrl+m        # line3: marked and unmarked again
e2e_key Down ctrl+m          # line4
e2e_key Down Down Down Down ctrl+m   # line8
e2e_key Down Down            # line10
e2e_key ctrl+u
e2e_type U                   # line8, column 0
e2e_key ctrl+u
e2e_type V                   # line4, column 0
e2e_key ctrl+u               # line3 is not marked: the caret stays
e2e_type W
e2e_key ctrl+d
e2e_type D                   # line8 again
e2e_key ctrl+d               # nothing below
e2e_type E
e2e_key ctrl+s
for i in 1 2 3 4 5 6 7 8 9 10; do
    case $i in 4) printf 'VW' ;; 8) printf 'DEU' ;; esac
    printf 'line%s\r\n' $i
done >"$E2E_TMP/expected"
e2e_poll 10 'cmp -s "$doc" "$E2E_TMP/expected"' || e2e_expect_bytes "$doc" "$E2E_TMP/expected"
e2e_log "passed"
