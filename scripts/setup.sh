#!/usr/bin/env bash
# Installs what building and testing the project needs on Debian 12, when it is missing; or, given
# package names, those packages. Installing takes root; without it the missing packages are named
# and the script fails.
set -euo pipefail

packages=("$@")
[ ${#packages[@]} -gt 0 ] || packages=(
    g++ cmake make pkg-config
    qtbase5-dev qtdeclarative5-dev qml-module-qtqml
    qmlscene qml-module-qtquick2
    qt6-base-dev qt6-declarative-dev qml6-module-qtqml qml6-module-qtqml-models qml6-module-qtqml-workerscript qml6-module-qtquick qml6-module-qtquick-window qml-qt6
    dpkg-dev file
    libspdlog-dev libfmt-dev
    libbenchmark-dev
    python3 python3-jsonschema
    man-db groff-base
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "missing packages: ${missing[*]}; run this script as root to install them" >&2
        exit 1
    fi
    echo "installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
