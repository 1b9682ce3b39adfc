#!/bin/bash
# Runs every test program by hand, without ctest and its environment, under a
# scratch HOME whose XDG folders hold a sentinel settings file, journal and
# Trash entry, and checks afterwards that nothing under that HOME changed:
# no file removed, altered or added. A test program must keep to folders of
# its own whoever starts it.
#
#   scripts/check_test_isolation.sh [build folder] [test name pattern]
#
# Prints one line per program (its exit status, and whether the scratch HOME
# is as it was); exits non-zero when any program touched it. Programs that
# test another language (ctest gives them de_DE.UTF-8) fail their own checks
# under the C.UTF-8 used here; what counts is the sentinels.
set -u
build=${1:-build}
pattern=${2:-tst_*}
scratch=$(mktemp -d "${TMPDIR:-/tmp}/quillmere-sentinel-home-XXXXXX")
trap 'rm -rf "$scratch"' EXIT

mkdir -p "$scratch/.config/Quillmere" "$scratch/.local/state/quillmere" \
         "$scratch/.local/share/Trash/files" "$scratch/.local/share/Trash/info"
printf '[Settings]\nText1=sentinel\n' > "$scratch/.config/Quillmere/Quillmere.conf"
printf 'sentinel journal\n' > "$scratch/.local/state/quillmere/run-20200101-000000-000000-1.journal"
printf 'sentinel trash\n' > "$scratch/.local/share/Trash/files/sentinel.txt"
printf '[Trash Info]\nPath=/sentinel.txt\nDeletionDate=2020-01-01T00:00:00\n' \
    > "$scratch/.local/share/Trash/info/sentinel.txt.trashinfo"

state() { (cd "$scratch" && find . -print0 | sort -z | xargs -0 sha256sum 2>/dev/null; find . | sort); }
before=$(state)
touched=0
for test in "$build"/bin/$pattern; do
    [ -x "$test" ] || continue
    HOME=$scratch XDG_DATA_HOME=$scratch/.local/share XDG_STATE_HOME=$scratch/.local/state \
        XDG_CONFIG_HOME=$scratch/.config XDG_CACHE_HOME=$scratch/.cache QT_QPA_PLATFORM=offscreen \
        LC_ALL=C.UTF-8 timeout 900 "$test" > "$scratch.log" 2>&1 < /dev/null
    status=$?
    if [ "$(state)" = "$before" ]; then kept=kept; else kept=TOUCHED; touched=1; fi
    printf '%-28s exit %3d   sentinels %s\n' "$(basename "$test")" "$status" "$kept"
done
rm -f "$scratch.log"
for f in .config/Quillmere/Quillmere.conf .local/state/quillmere/run-20200101-000000-000000-1.journal \
         .local/share/Trash/files/sentinel.txt; do
    if [ -f "$scratch/$f" ]; then shown=$(head -1 "$scratch/$f"); else shown=MISSING; fi
    printf '%s: %s\n' "$f" "$shown"
done
exit $touched
