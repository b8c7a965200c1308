#!/usr/bin/env bash
# Sets up, builds, and shows what the library makes of the example session file; arguments go to
# vdsession show (--json, --show-secrets).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
"${BUILD_DIR:-build}"/tools/vdsession/vdsession show examples/VdSession-3f6b1e2a-7c4d-4a9e-b815-62d0c9e4a7f3.vdp "$@"
