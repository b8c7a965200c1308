#!/usr/bin/env bash
# Sets up, builds, and runs the example program, which prints the settings of a fresh session.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
"${BUILD_DIR:-build}"/examples/vdsession-example "$@"
