#!/usr/bin/env bash
# Sets everything up, then runs the main job: writes a stream and lists it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh dev
build/dev/bin/quillary-cli demo demo.sup
build/dev/bin/quillary-cli dump demo.sup
