#!/usr/bin/env bash
# Configures and builds the project into build/ (or $BUILD_DIR), against Qt 5 (or $QT_MAJOR_VERSION);
# arguments go to the configuring cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQT_MAJOR_VERSION="${QT_MAJOR_VERSION:-5}" "$@" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
