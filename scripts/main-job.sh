#!/usr/bin/env bash
# Sets everything up, then runs the main job: builds the example SubRip script, with the example
# ASS signs in a second window at the top, into examples-out/tour.sup, and lists the stream
# (examples-out/tour.txt).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh dev
mkdir -p examples-out
build/dev/bin/quillary-cli build examples/quillary-tour.srt --top examples/quillary-signs.ass \
    -o examples-out/tour.sup --defaults
build/dev/bin/quillary-cli dump examples-out/tour.sup >examples-out/tour.txt
head -n 40 examples-out/tour.txt
echo "... (the whole listing is in examples-out/tour.txt)"
