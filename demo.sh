#!/usr/bin/env bash
# Installs what is missing, builds the suite and runs the demo session.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTZ_BUILD_TESTS=OFF >/dev/null
cmake --build build -j2
exec ./examples/run-demo.sh build/bin/tzcad out
