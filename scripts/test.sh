#!/usr/bin/env bash
# Sets up, builds, and runs every test; fails when any test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export QT_QPA_PLATFORM=offscreen

# The API reference, in build/docs/ (or $BUILD_DIR/docs/): a public member left undocumented fails
# here. The build directory then makes the reference's package too, which the packaging test checks.
QT_MAJOR_VERSION=5 scripts/docs.sh

# Qt 5, in build/ (or $BUILD_DIR).
QT_MAJOR_VERSION=5 scripts/build.sh
ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure --parallel "$(nproc)"

# Qt 6, in build-qt6/ (or $QT6_BUILD_DIR): the same suite must pass on both.
BUILD_DIR="${QT6_BUILD_DIR:-build-qt6}" QT_MAJOR_VERSION=6 scripts/build.sh
ctest --test-dir "${QT6_BUILD_DIR:-build-qt6}" --output-on-failure --parallel "$(nproc)"

# --- Sanitizers and fuzzing ------------------------------------------------------------------
# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/), then
# every fuzz harness over its seeds and kept findings for a short fixed number of runs
# (build-fuzz/). SKIP_SANITIZERS=1 leaves both out, for a quick local run.
if [ "${SKIP_SANITIZERS:-0}" != 1 ]; then
    scripts/sanitize.sh
    scripts/fuzz.sh --ci
fi
