#!/usr/bin/env bash
# The screensaver program's CPU use while it only watches the mouse, under
# Wine on a private Xvfb: see host_idle_cpu.py.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/xvfb-env
kb_start_xvfb
KB_BIN_DIR=${KB_BIN_DIR:-$(pwd)/build/win64/bin} KB_SOURCE_DIR=$(pwd) python3 bench/host_idle_cpu.py
