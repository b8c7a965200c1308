#!/usr/bin/env bash
# Builds the API reference into build/docs/ (or $BUILD_DIR/docs/), against Qt 5 (or
# $QT_MAJOR_VERSION): the HTML pages in html/ and the Qt help file vdsessionsettings.qch. Doxygen
# fails the build on a public member left undocumented, or on any other warning. Installs doxygen
# and qhelpgenerator when they are missing; arguments go to the configuring cmake. The build
# directory keeps -DVDSESSION_DOCS=ON, so that later builds there keep the reference current and
# make its package.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# Debian's qhelpgenerator-qt5 holds /usr/lib/qt5/bin/qhelpgenerator (qttools5-dev-tools depends on
# it, and on much else the reference does not need).
scripts/setup.sh doxygen qhelpgenerator-qt5
build_dir=${BUILD_DIR:-build}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQT_MAJOR_VERSION="${QT_MAJOR_VERSION:-5}" \
    -DVDSESSION_DOCS=ON "$@" >/dev/null
cmake --build "$build_dir" --target docs
echo "$build_dir/docs/html/index.html"
echo "$build_dir/docs/vdsessionsettings.qch"
