#!/usr/bin/env bash
# Builds the script fuzz target with clang, libFuzzer, ASan and UBSan in build/fuzz and runs it
# for a bounded time. Seeds: the committed ones in tests/data/fuzz/scripts, plus every file of
# the shared corpus (../shared/corpus, or $QUILLARY_CORPUS_DIR) when it is there.
#
# Usage: scripts/fuzz.sh [SECONDS]        (default 60)
#
# Exits non-zero on any crash, sanitizer report, leak, hang (10 s per input) or memory blow-up;
# the input that did it is left in build/fuzz/artifacts/. Copy it into tests/data/fuzz/scripts/
# (named after what it broke) so the replay test keeps it fixed.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
build=build/fuzz

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ \
    -DQUILLARY_SANITIZE=ON -DQUILLARY_FUZZ=ON -DQUILLARY_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target script_fuzzer

seeds="$build/seeds"
rm -rf "$seeds"
mkdir -p "$seeds" "$build/corpus" "$build/artifacts"
cp tests/data/fuzz/scripts/* "$seeds"/
corpus="${QUILLARY_CORPUS_DIR:-../shared/corpus}"
if [ -d "$corpus" ]; then
    # Flattened under content names, so files of the same name in different folders both count.
    while IFS= read -r -d '' file; do
        cp "$file" "$seeds/corpus-$(sha1sum <"$file" | cut -c1-16)"
    done < <(find "$corpus" -type f ! -name '*.md' -print0)
else
    echo "fuzz: no corpus at $corpus; using the committed seeds only"
fi

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
"$build/bin/script_fuzzer" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=131072 \
    -artifact_prefix="$build/artifacts/" -print_final_stats=1 \
    "$build/corpus" "$seeds"
