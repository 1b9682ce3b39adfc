#!/usr/bin/env bash
# Builds the RTF reader's libFuzzer target with clang and runs it.
#
#   tests/rtf/fuzz/run.sh [seconds]      default: 600
#
# FUZZ_BUILD_DIR chooses the build folder (default: build-fuzz at the top of
# the tree); the growing corpus and any crash inputs are kept there.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${1:-600}

find_tool() {
    for candidate in "$@"; do
        if command -v "$candidate" >/dev/null 2>&1; then
            echo "$candidate"
            return
        fi
    done
    echo "run.sh: none of $* found; install clang" >&2
    exit 2
}
cxx=${CXX:-$(find_tool clang++ clang++-14 clang++-15 clang++-16)}

cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER="$cxx" >/dev/null
cmake --build "$build" -j2

corpus="$build/corpus"
artifacts="$build/artifacts/"
mkdir -p "$corpus" "$artifacts"
cp "$here"/corpus/* "$corpus"/
cp "$root/resources/Help.rtf" "$corpus/help.rtf" 2>/dev/null || true

cd "$build"
LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0" \
QT_QPA_PLATFORM=offscreen "$build/rtf_fuzzer" \
    -max_total_time="$seconds" \
    -max_len=16384 \
    -timeout=10 \
    -rss_limit_mb=2048 \
    -dict="$here/rtf.dict" \
    -artifact_prefix="$artifacts" \
    -print_final_stats=1 \
    "$corpus"
