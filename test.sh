#!/usr/bin/env bash
# Builds everything into build-test/ with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs every test. Exits non-zero on any failure; a sanitizer report is a failure.
set -euo pipefail
cd "$(dirname "$0")"

tools/install-deps.sh cmake ninja-build g++ qt6-base-dev libgl-dev libgtest-dev libgmock-dev \
  libbenchmark-dev qt6-qpa-plugins fonts-ipafont-gothic xvfb xdotool xclip imagemagick \
  x11-utils util-linux

cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHEXATINT_SANITIZE=ON \
  -DHEXATINT_TESTS=ON >/dev/null
cmake --build build-test

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd build-test
ctest --output-on-failure -j2 --timeout 600
