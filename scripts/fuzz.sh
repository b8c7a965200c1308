#!/usr/bin/env bash
# Builds every libFuzzer harness (fuzz/*_fuzzer.cpp) with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/, and runs them on corpora seeded from the test
# fixtures, with each harness's dictionary (fuzz/<name>.dict).
#
#   scripts/fuzz.sh [NAME...]       each harness for $FUZZ_SECONDS seconds (default 60); the
#                                   corpus grows in build-fuzz/corpus/<name>/
#   scripts/fuzz.sh --ci [NAME...]  each harness over its seeds, its regressions and
#                                   $FUZZ_RUNS new inputs (by default 2000, fewer for the slow
#                                   harnesses, see ci_runs); fails on any finding
#
# FUZZ_ARGS adds libFuzzer options to a timed run, e.g. "-fork=1 -ignore_crashes=1" to go on
# past known findings and collect every distinct one.
# FUZZ_SKIP_BUILD=1 runs the harnesses already built (for runs side by side).
# Findings are written to build-fuzz/artifacts/<name>/. Keep each one, once fixed, in
# fuzz/regressions/<name>/: every later run replays it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

ci=0
if [ "${1:-}" = "--ci" ]; then
    ci=1
    shift
fi
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
    names=(sessionfile jsonobject weblink inifiles controlpolicy geometry vdsession)
fi

scripts/setup.sh
# llvm-14 brings llvm-symbolizer: without it the reports carry no function names, and the leak
# suppressions, which go by name, match nothing.
symbolizer=/usr/lib/llvm-14/bin/llvm-symbolizer
if ! command -v clang++-14 >/dev/null || [ ! -x "$symbolizer" ] \
   || ! dpkg-query -W -f='${Status}' libclang-rt-14-dev 2>/dev/null | grep -q "ok installed"; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends clang-14 libclang-rt-14-dev llvm-14 >/dev/null
fi
export ASAN_SYMBOLIZER_PATH=$symbolizer

build_dir=$root/${FUZZ_BUILD_DIR:-build-fuzz}
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
if [ "${FUZZ_SKIP_BUILD:-0}" != 1 ]; then
    cmake -S . -B "$build_dir" -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
          -DVDSESSION_FUZZ=ON -DBUILD_TESTING=OFF \
          -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
    cmake --build "$build_dir" --parallel "$(nproc)" --target "${names[@]/%/_fuzzer}"
fi

# Copies fixtures into a seed folder, each named after its folder and file.
copy_seeds() {
    local seeds=$1 file
    shift
    for file in "$@"; do
        cp "$file" "$seeds/$(basename "$(dirname "$file")")-$(basename "$file")"
    done
}

# Seeds: the fixtures each harness's input is made of.
seed() {
    local name=$1 seeds=$2
    mkdir -p "$seeds"
    case $name in
        sessionfile)
            copy_seeds "$seeds" tests/data/current/*.vdp tests/data/legacy/*.vdp tests/data/writer/*.vdp
            # A session file with the previous session's file beside it, with and without a
            # stream mode to inherit.
            for previous in tests/data/current/previous-*.vdp; do
                { cat tests/data/current/session-without-stream.vdp; printf '\n--previous session--\n'; cat "$previous"; } \
                    >"$seeds/with-$(basename "$previous")"
            done ;;
        jsonobject)
            copy_seeds "$seeds" tests/data/current/*.vdp tests/data/legacy/*.vdp tests/data/writer/*.vdp tests/data/policy/*.json ;;
        weblink)
            grep -rhoE '"[^"]*evoked-download[^"]*"' tests/*.cpp | tr -d '"' | sort -u | split -l 1 - "$seeds/link-"
            printf '%s' 'https://portal.example.com/evoked-download/?token=eyJhbGciOiJIUzI1NiJ9.c2ln==&serverIp=10.20.30.40&serverPort=8860&vmUuid=6f1c2a9e&h5ClientUuid=0b9d4e2f&multiscreen=true&theme=dark' >"$seeds/complete" ;;
        inifiles)
            for file in tests/data/localconfig/*.ini; do
                local name
                name=$(basename "$file")
                case $name in vdisettings-*.ini) name=vdisettings.ini ;; esac
                { echo "### $name"; cat "$file"; } >"$seeds/$(basename "$file")"
            done
            { for file in tests/data/localconfig/{settings,vdisettings,version}.ini; do
                  echo "### $(basename "$file")"; cat "$file"; done
              printf '### sysInfo.ini\n[cpu]\nprocessors=8\nmhz=2.40GHz\n[memory]\ntotal=16\navailable=9.5\n'
              printf '### decoders.ini\n[VIDEO_DECODERS]\nDECODERS=DXVA, FFMPEG\n'; } >"$seeds/all-five" ;;
        vdsession)
            # Screens as the tool is given them, side by side, overlapping and at the limits,
            # before the session files it is run on.
            local file index=0
            local screens=('0,0,1920,1080' '0,0,2560,1440\n--screen 2560,0,1920,1080'
                           '-1280,0,1280,1024@1\n--screen 0,0,1920,1080@0' '0,0,0,1080' '1048576,-1048576,994,841@-7')
            for file in tests/data/tool/*.vdp tests/data/current/*.vdp examples/*.vdp examples/qml/*.vdp; do
                { printf -- '--screen %b\n' "${screens[index % ${#screens[@]}]}"; cat "$file"; } \
                    >"$seeds/$(basename "$(dirname "$file")")-$(basename "$file")"
                index=$((index + 1))
            done ;;
        controlpolicy|geometry)
            # Any bytes make values; the fixtures give a varied start.
            copy_seeds "$seeds" tests/data/policy/*.json ;;
    esac
}

# New inputs per harness in a CI run. Each input of sessionfile and vdsession loads a session
# file, and saves, checks or dumps it too; fewer of them keep the whole run near two minutes.
ci_runs() {
    case $1 in
        sessionfile) echo 1000 ;;
        vdsession) echo 500 ;;
        *) echo 2000 ;;
    esac
}

# Runs a command in the harness's private folder ($work), which is also its HOME and its TMPDIR:
# the harness makes its own HOME, and the INI writer its drafts, under TMPDIR.
in_work() {
    (cd "$work" && HOME="$work" TMPDIR="$work" "$@")
}

status=0
for name in "${names[@]}"; do
    corpus=$build_dir/corpus/$name
    seeds=$build_dir/seeds/$name
    artifacts=$build_dir/artifacts/$name
    rm -rf "$seeds"
    seed "$name" "$seeds"
    mkdir -p "$corpus" "$artifacts" "fuzz/regressions/$name"

    # Each harness runs from a private folder with its own copy of the program: HOME, the
    # working directory and the program's folder (where "version.ini" is read) are all its own.
    # In memory where there is room: saves fsync every written file, which a disk makes slow (on
    # a disk, inifiles spent a fifth of its time waiting for fsync).
    work=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
    cp "$build_dir/fuzz/${name}_fuzzer" "$work/"
    export ASAN_OPTIONS="detect_leaks=1:fast_unwind_on_malloc=0:halt_on_error=1"
    export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
    export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
    common=(-dict="$root/fuzz/$name.dict" -max_len=65536 -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$artifacts/")
    set +e
    if [ $ci -eq 1 ]; then
        # The kept findings first, each on its own, then a short fixed run over the seeds.
        in_work find "$root/fuzz/regressions/$name" -type f -exec "$work/${name}_fuzzer" "${common[@]}" {} + >"$work/log" 2>&1 &&
        in_work "$work/${name}_fuzzer" "${common[@]}" -runs="${FUZZ_RUNS:-$(ci_runs "$name")}" -seed=1 "$seeds" >>"$work/log" 2>&1
    else
        # shellcheck disable=SC2086 # FUZZ_ARGS holds libFuzzer options, one word each
        (in_work "$work/${name}_fuzzer" "${common[@]}" -max_total_time="${FUZZ_SECONDS:-60}" \
             -print_final_stats=1 ${FUZZ_ARGS:-} "$corpus" "$seeds" 2>&1 | tee "$work/log" | grep -E '^(#[0-9]+.*(DONE|INITED|pulse|time:)|stat::|==[0-9]+==ERROR|SUMMARY|INFO: (fuzzed|exiting))' ; exit "${PIPESTATUS[0]}")
    fi
    result=$?
    set -e
    if [ $result -ne 0 ]; then
        echo "fuzz: $name failed" >&2
        tail -n 60 "$work/log" >&2
        status=1
    else
        echo "fuzz: $name ok ($(grep -oE 'Done [0-9]+ runs|stat::number_of_executed_units: [0-9]+' "$work/log" | tail -n 1))"
    fi
    rm -rf "$work"
done
exit $status
