#!/usr/bin/env bash
# Installs what is missing, builds Orbistat and runs it. Arguments are passed
# to the program (for example --print --count 3, or --json).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target orbistat orbistat-widget -j"$(nproc)"
exec build/app/orbistat "$@"
