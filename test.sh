#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test offscreen.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/common.sh
r73_install_missing
r73_build
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
