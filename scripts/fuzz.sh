#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer, ASan and UBSan in build/fuzz and runs each for a
# bounded time:
#   script_fuzzer      arbitrary bytes opened as a subtitle script; seeds tests/data/fuzz/scripts
#                      plus every file of the shared corpus (../shared/corpus, or
#                      $QUILLARY_CORPUS_DIR) when it is there;
#   sup_reader_fuzzer  arbitrary bytes read as a .sup stream; seeds tests/data/fuzz/sup plus
#                      the shared sample streams (../shared/samples/sup) when they are there;
#   layout_fuzzer      arbitrary bytes laid out as one event (first line the effect, the rest
#                      the text); seeds tests/data/fuzz/layout.
#
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]     (default 60 seconds, every target)
#
# Exits non-zero on any crash, sanitizer report, leak, hang (10 s per input) or memory blow-up;
# the input that did it is left in build/fuzz/artifacts/. Copy it into the target's seed folder
# (named after what it broke) so the replay test keeps it fixed.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
shift || true
targets=("$@")
((${#targets[@]})) || targets=(script_fuzzer sup_reader_fuzzer layout_fuzzer)
build=build/fuzz

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ \
    -DQUILLARY_SANITIZE=ON -DQUILLARY_FUZZ=ON -DQUILLARY_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target "${targets[@]}"

# Copies every file under $2 into the seed folder $1, named by content so that files of the same
# name in different folders both count.
add_seeds() {
    local seeds="$1" dir="$2"
    if [ -d "$dir" ]; then
        while IFS= read -r -d '' file; do
            cp "$file" "$seeds/extra-$(sha1sum <"$file" | cut -c1-16)"
        done < <(find "$dir" -type f ! -name '*.md' -print0)
    else
        echo "fuzz: no seeds at $dir; using the committed seeds only"
    fi
}

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
for target in "${targets[@]}"; do
    seeds="$build/seeds/$target"
    rm -rf "$seeds"
    mkdir -p "$seeds" "$build/corpus/$target" "$build/artifacts"
    case "$target" in
    script_fuzzer)
        cp tests/data/fuzz/scripts/* "$seeds"/
        add_seeds "$seeds" "${QUILLARY_CORPUS_DIR:-../shared/corpus}"
        max_len=131072
        ;;
    sup_reader_fuzzer)
        cp tests/data/fuzz/sup/* "$seeds"/
        add_seeds "$seeds" "${QUILLARY_SUP_SAMPLES_DIR:-../shared/samples/sup}"
        max_len=65536
        ;;
    layout_fuzzer)
        cp tests/data/fuzz/layout/* "$seeds"/
        max_len=4096
        ;;
    *)
        echo "fuzz: unknown target $target" >&2
        exit 2
        ;;
    esac
    echo "fuzz: $target for $seconds s"
    "$build/bin/$target" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="$max_len" \
        -artifact_prefix="$build/artifacts/" -print_final_stats=1 \
        "$build/corpus/$target" "$seeds"
done
