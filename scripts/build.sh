#!/usr/bin/env bash
# Configures and builds into build/ (the game, the default Resources and the tests).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja "$@"
cmake --build build
