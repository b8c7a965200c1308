#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer and the address and undefined-behaviour
# sanitizers into build-fuzz/, then runs each for $FUZZ_SECONDS (default 60) seconds on a corpus
# seeded from the test fixtures. Needs root the first time, to install clang.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
if ! command -v clang++-14 >/dev/null || ! dpkg-query -W -f='${Status}' libclang-rt-14-dev 2>/dev/null | grep -q "ok installed"; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends clang-14 libclang-rt-14-dev >/dev/null
fi

build_dir=build-fuzz
sanitizers="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
cmake -S . -B "$build_dir" -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DVDSESSION_FUZZ=ON -DBUILD_TESTING=OFF \
      -DCMAKE_CXX_FLAGS="$sanitizers" -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)" --target sessionfile_fuzzer

corpus="$build_dir/corpus"
mkdir -p "$corpus"
find tests/data -type f \( -name '*.vdp' -o -name '*.json' -o -name '*.txt' \) -exec cp {} "$corpus"/ \;

artifacts="$PWD/$build_dir/artifacts"
mkdir -p "$artifacts"
work=$(mktemp -d)
# The readers only look at the documents folder and beside the session file; keep both private.
(cd "$work" && HOME="$work" LSAN_OPTIONS="suppressions=$OLDPWD/fuzz/lsan.supp" \
    "$OLDPWD/$build_dir/fuzz/sessionfile_fuzzer" \
    -max_total_time="${FUZZ_SECONDS:-60}" -max_len=65536 -timeout=10 -artifact_prefix="$artifacts/" \
    "$OLDPWD/$corpus")
rm -rf "$work"
