#!/usr/bin/env bash
# Installs what the project needs, builds it and runs every test. Run as root on Debian 12.
# XAMU_WERROR=ON makes every warning an error (CI sets it).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DXAMU_WERROR="${XAMU_WERROR:-OFF}"
cmake --build build
ctest --test-dir build --output-on-failure -j2
