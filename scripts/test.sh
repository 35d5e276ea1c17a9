#!/usr/bin/env bash
# Installs what the project needs, builds it and runs every test. Run as root on Debian 12.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build
ctest --test-dir build --output-on-failure -j2
