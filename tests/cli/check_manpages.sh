#!/usr/bin/env bash
# Formats each manual page with every groff warning on and fails on any
# warning or on a missing section. Exits 77 (skipped) without groff.
# Usage: check_manpages.sh PAGE...
set -u
command -v groff >/dev/null || { echo "groff is not installed"; exit 77; }
failures=0
for page in "$@"; do
    warnings=$(LC_ALL=C.UTF-8 groff -ww -man -Tutf8 -z "$page" 2>&1)
    if [[ -n $warnings ]]; then
        echo "FAIL: $page:"
        echo "$warnings"
        failures=$((failures + 1))
    fi
    for section in NAME SYNOPSIS DESCRIPTION OPTIONS '"EXIT STATUS"' FILES EXAMPLES '"SEE ALSO"'; do
        grep -q "^\.SH $section\$" "$page" || { echo "FAIL: $page has no $section section"; failures=$((failures + 1)); }
    done
    # A dated page, which tells the language, the Trash and what the
    # signals' exit statuses are where a signal can end the program.
    grep -qE '^\.TH [^ ]+ 1 "[0-9]{4}-[0-9]{2}-[0-9]{2}"' "$page" || { echo "FAIL: $page has no date"; failures=$((failures + 1)); }
    for word in LANGUAGE LC_MESSAGES Trash; do
        grep -q "$word" "$page" || { echo "FAIL: $page never mentions $word"; failures=$((failures + 1)); }
    done
    if [[ $page == *quillmere-rename.1 ]]; then
        grep -q '^\.BR 129 ", " 130 ", " 143' "$page" || { echo "FAIL: $page lacks the signals' exit statuses"; failures=$((failures + 1)); }
    else
        grep -qi 'undo' "$page" || { echo "FAIL: $page never mentions undo"; failures=$((failures + 1)); }
    fi
    if grep -q '@[A-Z_]*@' "$page"; then
        echo "FAIL: $page holds an unreplaced placeholder"
        failures=$((failures + 1))
    fi
done
((failures == 0)) && echo "manual pages format without warnings"
exit $((failures > 0))
