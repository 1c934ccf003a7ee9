#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite on Qt's offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error --parallel "$(nproc)"
