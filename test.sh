#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and
# UBSan, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
build=build-test
# Optimised, with line tables only: sanitizer reports keep their source
# lines and the build stays quick on two cores.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS="-g1" -DTZ_SANITIZE=ON -DTZ_BUILD_TESTS=ON >/dev/null
cmake --build "$build" -j2
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build" -j2 --output-on-failure
