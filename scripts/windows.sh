#!/usr/bin/env bash
# Builds the library, the vdsession tool and the tests for Windows with MinGW-w64 and runs the
# whole suite under Wine, on Debian 12 alone.
#
# Qt and spdlog for Windows are made from Debian's own sources (the same archive as the Linux
# packages) the first time, into a cache outside the work tree that later runs reuse:
# $VDSESSION_WINDOWS_CACHE, /var/cache/vdsession-windows by default. Each build there is keyed by
# the source's version, the cross compiler's version and the configure line below, so changing any
# of them builds anew beside the old one.
#
#   scripts/windows.sh             build and run the suite (build-windows/, or $WINDOWS_BUILD_DIR)
#   scripts/windows.sh --prepare   only install the cross tools and fill the cache
#   scripts/windows.sh --package   build, then make a zip a Windows user can run as it is
set -euo pipefail
cd "$(dirname "$0")/.."
project=$PWD
cache=${VDSESSION_WINDOWS_CACHE:-/var/cache/vdsession-windows}
build_dir=${WINDOWS_BUILD_DIR:-build-windows}
jobs=$(nproc)
mode=${1:-test}
case $mode in
    test|--prepare|--package) ;;
    *) echo "usage: $0 [--prepare | --package]" >&2; exit 2 ;;
esac

log() { printf '== %s\n' "$*"; }

# --- Tools ------------------------------------------------------------------------------------
scripts/setup.sh g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64 wine64 \
    cmake make python3 xz-utils dpkg-dev zip unzip

# The unsuffixed cross compilers are alternatives; Qt's mkspec calls them by that name, and they
# must be the POSIX-threads ones, whose C++ runtime has std::thread and std::mutex.
for tool in gcc g++; do
    if [ "$(readlink -f "/usr/bin/x86_64-w64-mingw32-$tool")" != "/usr/bin/x86_64-w64-mingw32-$tool-posix" ]; then
        update-alternatives --set "x86_64-w64-mingw32-$tool" "/usr/bin/x86_64-w64-mingw32-$tool-posix" >/dev/null
    fi
done

mingw_version=$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix)
mingw_runtime=$(dirname "$(x86_64-w64-mingw32-gcc-posix -print-libgcc-file-name)")
toolchain=$project/cmake/mingw-w64.cmake

# --- Sources ----------------------------------------------------------------------------------
# Debian's source packages, from a deb-src line for the archive the binary packages come from.
source_dir=$cache/src
fetch_sources() {
    mkdir -p "$source_dir"
    if ! ls "$source_dir"/qtbase-opensource-src_*.orig.tar.xz "$source_dir"/qtdeclarative-opensource-src_*.orig.tar.xz \
            "$source_dir"/spdlog_*.dsc "$source_dir"/fmtlib_*.dsc >/dev/null 2>&1; then
        if [ ! -e /etc/apt/sources.list.d/vdsession-deb-src.sources ] && ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
            log "adding a deb-src line for bookworm"
            cat > /etc/apt/sources.list.d/vdsession-deb-src.sources <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
            apt-get update -qq
        fi
        log "fetching Qt, spdlog and fmt sources from Debian"
        (cd "$source_dir" && apt-get source --download-only qtbase-opensource-src qtdeclarative-opensource-src spdlog fmtlib 2>&1 | grep -v '^W: Download is performed unsandboxed' || true)
    fi
}
source_version() { # package name -> Debian version of the fetched source
    local dsc
    dsc=$(ls "$source_dir/$1"_*.dsc | sort -V | tail -n 1)
    sed -n 's/^Version: //p' "$dsc"
}
key() { printf '%s' "$*" | sha256sum | cut -c1-12; }

# --- Qt ---------------------------------------------------------------------------------------
# Only what the library, its QML plugin, the tool and the tests use: QtCore, QtQml (with QtNetwork,
# which QtQml needs) and QtTest; no GUI. The host tools (qmake, moc, rcc) are built for Linux.
qt_configure=(-xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32-
              -opensource -confirm-license -release -shared -nomake examples -nomake tests
              -no-opengl -no-gui -no-widgets -no-dbus -qt-pcre -qt-zlib -no-icu -no-openssl
              -no-feature-sql -no-feature-concurrent -no-feature-xml)
qt_declarative_configure=(-- -no-qml-debug)

build_qt() {
    local version work
    version=$(source_version qtbase-opensource-src)
    qt_prefix=$cache/qt-$(key "$version" "$mingw_version" "${qt_configure[*]}" "${qt_declarative_configure[*]}")
    [ -e "$qt_prefix/.complete" ] && return
    work=$(mktemp -d "$cache/qt-build.XXXXXX")
    rm -rf "$qt_prefix"

    log "building Qt $version for Windows into $qt_prefix (once; about 40 minutes on 2 cores)"
    tar -xf "$source_dir"/qtbase-opensource-src_*.orig.tar.xz -C "$work"
    mkdir "$work/qtbase-build"
    (cd "$work/qtbase-build" && "$work"/qtbase-everywhere-src-*/configure -prefix "$qt_prefix" "${qt_configure[@]}" >configure.log 2>&1) \
        || { tail -n 40 "$work/qtbase-build/configure.log"; exit 1; }
    make -C "$work/qtbase-build" -j"$jobs" -s >"$work/qtbase-build/make.log" 2>&1 \
        || { grep -m 20 -B 2 -A 8 'rror' "$work/qtbase-build/make.log"; exit 1; }
    make -C "$work/qtbase-build" -s install >/dev/null

    # QtQml and its own imports (src/); qtdeclarative's tools and Qt Quick are not needed.
    tar -xf "$source_dir"/qtdeclarative-opensource-src_*.orig.tar.xz -C "$work"
    mkdir "$work/qtdeclarative-build"
    (cd "$work/qtdeclarative-build" && "$qt_prefix/bin/qmake" "$work"/qtdeclarative-everywhere-src-* "${qt_declarative_configure[@]}" >qmake.log 2>&1) \
        || { tail -n 40 "$work/qtdeclarative-build/qmake.log"; exit 1; }
    make -C "$work/qtdeclarative-build" -j"$jobs" -s sub-src >"$work/qtdeclarative-build/make.log" 2>&1 \
        || { grep -m 20 -B 2 -A 8 'rror' "$work/qtdeclarative-build/make.log"; exit 1; }
    make -C "$work/qtdeclarative-build/src" -s install >/dev/null

    rm -rf "$work"
    touch "$qt_prefix/.complete"
}

# --- spdlog -----------------------------------------------------------------------------------
# A DLL, as on Linux: with spdlog header-only the library would keep a logger registry of its own
# and a program's set_default_logger() would not reach it. fmt is used header-only.
build_spdlog() {
    local version work
    version=$(source_version spdlog)-$(source_version fmtlib)
    spdlog_prefix=$cache/spdlog-$(key "$version" "$mingw_version" "$(cat "$toolchain")")
    [ -e "$spdlog_prefix/.complete" ] && return
    work=$(mktemp -d "$cache/spdlog-build.XXXXXX")
    rm -rf "$spdlog_prefix"

    log "building spdlog $version for Windows into $spdlog_prefix"
    (cd "$work" && dpkg-source --no-check -x "$source_dir"/fmtlib_*.dsc fmt >/dev/null && dpkg-source --no-check -x "$source_dir"/spdlog_*.dsc spdlog >/dev/null)
    cmake -S "$work/fmt" -B "$work/fmt-build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$spdlog_prefix" -DFMT_TEST=OFF -DFMT_DOC=OFF >/dev/null
    cmake --build "$work/fmt-build" --parallel "$jobs" >/dev/null
    cmake --install "$work/fmt-build" >/dev/null
    cmake -S "$work/spdlog" -B "$work/spdlog-build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$spdlog_prefix" -DCMAKE_PREFIX_PATH="$spdlog_prefix" \
        -DSPDLOG_BUILD_SHARED=ON -DSPDLOG_FMT_EXTERNAL=OFF -DSPDLOG_FMT_EXTERNAL_HO=ON -DSPDLOG_BUILD_EXAMPLE=OFF -DSPDLOG_BUILD_TESTS=OFF >/dev/null
    cmake --build "$work/spdlog-build" --parallel "$jobs" >/dev/null
    cmake --install "$work/spdlog-build" >/dev/null

    rm -rf "$work"
    touch "$spdlog_prefix/.complete"
}

mkdir -p "$cache"
fetch_sources
build_spdlog
build_qt
log "Qt: $qt_prefix"
log "spdlog: $spdlog_prefix"
[ "$mode" = --prepare ] && exit 0

# --- The project --------------------------------------------------------------------------------
log "building the project for Windows into $build_dir"
cmake -S . -B "$build_dir" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_PREFIX_PATH="$qt_prefix;$spdlog_prefix" -DQT_MAJOR_VERSION=5 \
    -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON -DCMAKE_INSTALL_PREFIX="$PWD/$build_dir/install" >/dev/null
cmake --build "$build_dir" --parallel "$jobs"

# --- Wine ---------------------------------------------------------------------------------------
# A prefix of the build's own, made with HOME pointing into the build: a new prefix links its
# user folders (Documents among them) to HOME, and the tests move the documents folder in its
# registry. Nothing of the real user's is touched.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
export WINEPREFIX=$PWD/$build_dir/wine/prefix
export HOME=$PWD/$build_dir/wine/home
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
mkdir -p "$HOME"
if [ ! -e "$WINEPREFIX/system.reg" ]; then
    log "making a Wine prefix in $WINEPREFIX"
    "$wine" wineboot --init >/dev/null 2>&1
fi
# One Wine server for the whole run, with Wine's own services started here: a service started by a
# test would hold on to the test's output and keep CTest waiting for it.
wineserver=$(dirname "$wine")/wineserver
"$wineserver" -p 2>/dev/null || true  # already running for this prefix
"$wine" wineboot </dev/null >/dev/null 2>&1
# Paths the build baked in (test data, the tool's path) are Linux paths; a Windows process reads
# them on its current drive, which for a test in its temporary folder is C:. A link there gives
# the top folder of the work tree the same place as on Z:.
top=/$(printf '%s' "$project" | cut -d/ -f2)
[ -e "$WINEPREFIX/drive_c$top" ] || ln -s "$top" "$WINEPREFIX/drive_c$top"

dll_folders=("$qt_prefix/bin" "$spdlog_prefix/bin" "$mingw_runtime" /usr/x86_64-w64-mingw32/lib "$PWD/$build_dir/vdsessionsettings")
winepath=""
for folder in "${dll_folders[@]}"; do winepath+="$(windows_path "$folder");"; done
export WINEPATH=$winepath
export QML2_IMPORT_PATH=$(windows_path "$qt_prefix/qml")
export VDSESSION_TEST_SCRATCH_PROFILE=1

if [ "$mode" = test ]; then
    log "running the suite under Wine"
    status=0
    ctest --test-dir "$build_dir" --output-on-failure --timeout 600 | tee "$build_dir/ctest.log" || status=$?
    # QtTest prints a totals line per program; CTest counts whole programs only.
    grep -h '^Totals:' "$build_dir"/Testing/Temporary/LastTest.log | awk '{p+=$2; f+=$4; s+=$6} END {printf "== test functions and rows under Wine: %d passed, %d failed, %d skipped\n", p, f, s}'
    grep -h -E '^(SKIP|XFAIL) +: ' "$build_dir"/Testing/Temporary/LastTest.log | sed 's/^/   /' || true
    "$wineserver" -k 2>/dev/null || true
    exit $status
fi

# --- A zip to try on Windows ----------------------------------------------------------------------
# The install tree (tool, DLL, headers, CMake package, QML module) with every DLL they load that
# Windows itself does not have: Qt's, spdlog's and MinGW's runtime.
dll_imports() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'; }
bundle_dlls() { # folder of programs and DLLs -> copies what they import from dll_folders into it
    local folder=$1 changed=1 file dll source
    while [ $changed = 1 ]; do
        changed=0
        for file in "$folder"/*.exe "$folder"/*.dll; do
            for dll in $(dll_imports "$file"); do
                [ -e "$folder/$dll" ] && continue
                for source in "${dll_folders[@]}"; do
                    if [ -e "$source/$dll" ]; then cp "$source/$dll" "$folder/"; changed=1; break; fi
                done
            done
        done
    done
}

log "packaging"
rm -rf "$build_dir/install"
cmake --install "$build_dir" --strip >/dev/null
bundle_dlls "$build_dir/install/bin"
x86_64-w64-mingw32-strip --strip-unneeded "$build_dir"/install/bin/*.dll
version=$(sed -n 's/^project(VdSessionSettings VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
zip_name=vdsessionsettings-$version-windows-x86_64.zip
rm -f "$build_dir/$zip_name"
(cd "$build_dir/install" && zip -qr "../$zip_name" .)

# The zip, unpacked elsewhere, runs on its own: no WINEPATH, no build tree.
trial=$(mktemp -d)
(cd "$trial" && unzip -q "$PWD/../$build_dir/$zip_name" 2>/dev/null || unzip -q "$project/$build_dir/$zip_name")
cp examples/VdSession-3f6b1e2a-7c4d-4a9e-b815-62d0c9e4a7f3.vdp "$trial/"
if ! (cd "$trial" && WINEPATH= "$wine" bin/vdsession.exe show VdSession-3f6b1e2a-7c4d-4a9e-b815-62d0c9e4a7f3.vdp | grep -q ENG-WIN11-042); then
    echo "the zip's vdsession.exe does not show the example session file" >&2
    exit 1
fi
rm -rf "$trial"
log "$build_dir/$zip_name: vdsession.exe show works on the example under Wine"
