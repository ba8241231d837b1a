#!/usr/bin/env bash
# Time from starting the shipped Kolvane_Brightrun.scr /s to the renderer's
# pictures on screen, beside the floor of any two-program GL show, under Wine
# on a private Xvfb: see first_frame.py. Needs the win32 build (KB_WINE_ARCH=win64
# times the win64 build instead).
#   bench/first_frame.sh [runs]    medians and ranges of both, and their ratio
#   bench/first_frame.sh --trace   one traced show: where its time goes
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/xvfb-env
kb_start_xvfb
export KB_WINE_ARCH=${KB_WINE_ARCH:-win32}
KB_BIN_DIR=${KB_BIN_DIR:-$(pwd)/build/$KB_WINE_ARCH/bin} KB_SOURCE_DIR=$(pwd) \
  PYTHONPATH=$(pwd)/tests/e2e:$(pwd)/tests/e2e/host python3 bench/first_frame.py "$@"
