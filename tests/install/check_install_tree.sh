#!/usr/bin/env bash
# Installs a built tree into a scratch prefix with `cmake --install` and checks
# that the result is what a packager expects: the program, its data folder, the
# desktop entry (valid for desktop-file-validate) and the icon theme's files.
# Usage: check_install_tree.sh BUILD_DIR SCRATCH_PREFIX ICON_SIZE...
set -uo pipefail

build_dir=$1
prefix=$2
shift 2
sizes=("$@")

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

rm -rf "$prefix"
if ! cmake --install "$build_dir" --prefix "$prefix" >"$prefix.log" 2>&1; then
    cat "$prefix.log"
    echo "FAIL: cmake --install did not succeed"
    exit 1
fi

[[ -x $prefix/bin/scrivlet ]] || fail "bin/scrivlet is missing or not executable"
[[ -f $prefix/share/scrivlet/help/SCRIVLET.html ]] || fail "share/scrivlet/help/SCRIVLET.html is missing"
cmp -s "$prefix/share/scrivlet/help/SCRIVLET.html" "$build_dir/bin/help/SCRIVLET.html" \
    || fail "the installed help differs from the build tree's"
[[ -x $prefix/share/scrivlet/tex2pdf ]] || fail "share/scrivlet/tex2pdf is missing or not executable"
[[ -d $prefix/share/scrivlet/commands ]] || fail "share/scrivlet/commands/ is missing"
# Nothing of the program's data lands beside the installed executable, where
# the program would look first.
[[ ! -e $prefix/bin/help && ! -e $prefix/bin/commands && ! -e $prefix/bin/tex2pdf ]] || fail "data folders were installed into bin/"

entry=$prefix/share/applications/scrivlet.desktop
if [[ -f $entry ]]; then
    for line in 'Type=Application' 'Name=Scrivlet' 'Exec=scrivlet %f' 'Icon=scrivlet' 'Terminal=false' \
                'MimeType=text/x-tex;' 'Categories=Office;TextEditor;Qt;'; do
        grep -qxF "$line" "$entry" || fail "the desktop entry lacks \"$line\""
    done
    grep -q '^Comment=' "$entry" || fail "the desktop entry has no Comment"
    grep -q '^Comment\[ja\]=' "$entry" || fail "the desktop entry has no Comment[ja]"
    if command -v desktop-file-validate >/dev/null; then
        # Hints are advice; errors and warnings fail.
        report=$(desktop-file-validate "$entry" 2>&1)
        status=$?
        [[ -n $report ]] && echo "$report"
        if (( status != 0 )) || grep -qE ': (error|warning):' <<<"$report"; then
            fail "desktop-file-validate rejects the desktop entry"
        fi
    else
        fail "desktop-file-validate is not installed (scripts/setup.sh installs desktop-file-utils)"
    fi
else
    fail "share/applications/scrivlet.desktop is missing"
fi

icons=$prefix/share/icons/hicolor
for size in "${sizes[@]}"; do
    png=$icons/${size}x${size}/apps/scrivlet.png
    if [[ ! -f $png ]]; then
        fail "icon ${size}x${size} is missing"
        continue
    fi
    # A PNG's IHDR holds its width and height as 4-byte big-endian numbers at offset 16.
    dimensions=$(od -An -tu1 -j16 -N8 "$png" | tr -s ' ' | sed 's/^ //')
    expected="$((size >> 24 & 255)) $((size >> 16 & 255)) $((size >> 8 & 255)) $((size & 255))"
    [[ $dimensions == "$expected $expected" ]] || fail "icon ${size}x${size} has the wrong size ($dimensions)"
done
grep -q '<svg' "$icons/scalable/apps/scrivlet.svg" 2>/dev/null || fail "the scalable icon is missing"

if (( failures > 0 )); then
    echo "$failures problem(s) in the installed tree under $prefix"
    exit 1
fi
echo "install tree under $prefix is complete"
rm -rf "$prefix" "$prefix.log"
