#!/usr/bin/env bash
# Builds everything into build-test/ with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs every test. Exits non-zero on any failure; a sanitizer report is a failure.
set -euo pipefail
cd "$(dirname "$0")"

tools/install-deps.sh cmake ninja-build g++ qt6-base-dev libgl-dev libgtest-dev libgmock-dev \
  libbenchmark-dev qt6-qpa-plugins fonts-konatu fonts-ipafont-gothic xvfb xdotool xclip imagemagick \
  x11-utils util-linux openbox desktop-file-utils appstream libxcb1-dev python3 \
  dbus at-spi2-core python3-pyatspi gir1.2-atspi-2.0 \
  qt6-l10n-tools qt6-tools-dev qt6-translations-l10n \
  dpkg-dev file lintian man-db sway grim xwayland qt6-wayland

cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHEXATINT_SANITIZE=ON \
  -DHEXATINT_TESTS=ON >/dev/null
cmake --build build-test

# The sanitized programs carry their sanitizer settings and leak suppressions themselves.
cd build-test
ctest --output-on-failure -j2 --timeout 600
cd ..

# --- Fuzzing: each libFuzzer target for a bounded time on a copy of its seed corpus ---------
# A separate clang build in build-fuzz/ (tests/fuzz). A crash, leak, hang or failed check
# fails the run; the input that did it is kept in build-fuzz/fuzz-run/<target>/artifacts/.
tools/install-deps.sh clang libclang-rt-14-dev
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  -DHEXATINT_FUZZ=ON -DHEXATINT_TESTS=OFF >/dev/null
fuzzers=(fuzz_ini_read fuzz_ini_write fuzz_form_read)
cmake --build build-fuzz --target "${fuzzers[@]}"
for fuzzer in "${fuzzers[@]}"; do
  run=build-fuzz/fuzz-run/$fuzzer
  rm -rf "$run" && mkdir -p "$run/corpus" "$run/artifacts"
  cp tests/fuzz/corpus/$fuzzer/* "$run/corpus/"
  if ! QT_QPA_PLATFORM=offscreen build-fuzz/bin/$fuzzer -max_total_time=60 -timeout=10 \
      -rss_limit_mb=2048 -artifact_prefix="$run/artifacts/" "$run/corpus" >"$run/log" 2>&1; then
    tail -n 80 "$run/log"
    echo "$fuzzer failed; its input is in $run/artifacts/" >&2
    exit 1
  fi
  echo "$fuzzer: $(grep -h '^Done' "$run/log")"
done
