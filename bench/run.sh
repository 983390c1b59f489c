#!/usr/bin/env bash
# Measures Hexatint91 against its baselines and prints one table: paint costs (Google
# Benchmark, beside a plain fill), the real length of a fade, start-up and peak memory
# against an empty toolkit window, idle CPU and timers, and CPU during a pointer sweep (in
# a private Xvfb); then a second table: where the start goes, in wall time and in
# instructions (callgrind, which it installs when missing). Exits non-zero when a target is
# missed.
#
#   bench/run.sh [build-dir]      default build-perf: a Release build with the benchmarks
#   RUNS=20 REPETITIONS=20 SWEEPS=20 bench/run.sh   more start-up runs / paint repetitions / sweeps
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-perf}
"$root/tools/install-deps.sh" valgrind
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DHEXATINT_SANITIZE=OFF \
      -DHEXATINT_BENCH=ON -DHEXATINT_TESTS=OFF >/dev/null
cmake --build "$build" --target Hexatint91 empty_window bench_mainform -j2 >/dev/null
exec python3 "$root/bench/desktop_perf.py" --build "$build" --runs "${RUNS:-10}" \
     --repetitions "${REPETITIONS:-10}" \
     --sweeps "${SWEEPS:-10}"
