#!/usr/bin/env bash
# Builds the snapshot-decoder fuzzer with clang and runs it for SECONDS
# (default 300). Findings land in build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
seconds=${1:-300}
CXX=clang++ cmake -S tests/fuzz -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j"$(nproc)"
mkdir -p build-fuzz/findings build-fuzz/corpus
cp tests/fuzz/corpus/* build-fuzz/corpus/
build-fuzz/shared_stats_fuzzer -max_total_time="$seconds" -max_len=65536 -artifact_prefix=build-fuzz/findings/ build-fuzz/corpus
