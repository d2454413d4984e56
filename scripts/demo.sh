#!/usr/bin/env bash
# Builds the optimised program and runs `kvpublic demo` on the embedded sample
# database; the files land in demo-out/ (or the folder given as argument).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh build
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DKV_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j"$(nproc)"
build/release/kvpublic demo "${1:-demo-out}"
