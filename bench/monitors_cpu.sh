#!/usr/bin/env bash
# The renderer's CPU use on one monitor and on two, under Wine on Xephyr:
# see monitors_cpu.py.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/xvfb-env
kb_start_xvfb
export KB_WINE_ARCH=${KB_WINE_ARCH:-win64}
KB_BIN_DIR=${KB_BIN_DIR:-$(pwd)/build/$KB_WINE_ARCH/bin} KB_SOURCE_DIR=$(pwd) python3 bench/monitors_cpu.py
