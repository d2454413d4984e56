#!/usr/bin/env bash
# Builds everything with the address and undefined-behaviour sanitizers and
# runs every test of that build, the independent readers' checks included.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DKV_SANITIZE=ON -DKV_BUILD_TESTS=ON >/dev/null
cmake --build build/asan -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build/asan --output-on-failure -j"$(nproc)" "$@"
