#!/usr/bin/env bash
# Builds Hexatint91 into build/ and starts it.
set -euo pipefail
cd "$(dirname "$0")"

tools/install-deps.sh cmake ninja-build g++ qt6-base-dev libgl-dev libxcb1-dev \
  fonts-konatu fonts-ipafont-gothic qt6-qpa-plugins

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DHEXATINT_TESTS=OFF >/dev/null
cmake --build build --target Hexatint91
exec build/bin/Hexatint91 "$@"
