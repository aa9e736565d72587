#!/usr/bin/env bash
# Installs the Debian packages Quillary needs (only those missing), then configures and builds
# the normal build in build/dev. Usage: scripts/setup.sh [preset...]   (default: dev)
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    g++ cmake ninja-build pkg-config clang-format
    clang libclang-rt-14-dev          # sanitizer and fuzzer runtimes
    qt6-base-dev                      # Qt Core/Gui/Widgets/Network
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-liberation2 fonts-dejavu-core
    ffmpeg                            # the reference decoder of the stream tests
    imagemagick                       # comparison peer of the colour-reduction benchmark
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "setup: installing ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
fi

presets=("$@")
((${#presets[@]})) || presets=(dev)
for preset in "${presets[@]}"; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done
