#!/usr/bin/env bash
# Builds the suite and the benchmark drivers (Release, in build-bench/) and
# runs every benchmark against the reference tools; see bench/README.md.
#   bench/run.sh              the targets table
#   bench/run.sh --scaling    and every command from 10^4 to 10^7 points
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DTZ_BUILD_TESTS=OFF -DTZ_BUILD_BENCH=ON >/dev/null
cmake --build build-bench -j2 >/dev/null
exec /usr/bin/python3 bench/run.py build-bench "$@"
