#!/usr/bin/env bash
# Configures and builds everything into build/ (warnings are errors).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGPL_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build build -j"$(nproc)"
