#!/usr/bin/env bash
# Builds the project for /usr into build/ (or $BUILD_DIR) against Qt 5 (or $QT_MAJOR_VERSION) and
# makes its Debian packages in <build>/packages/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build_dir=${BUILD_DIR:-build}
BUILD_DIR="$build_dir" scripts/build.sh -DCMAKE_INSTALL_PREFIX=/usr
cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$build_dir/packages"
ls "$build_dir"/packages/*.deb
