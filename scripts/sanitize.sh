#!/usr/bin/env bash
# Builds the library and every test with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/ (or $ASAN_BUILD_DIR) and runs the whole CTest suite there. Any sanitizer report
# fails the run: UBSan does not recover, ASan stops at the first error, and LeakSanitizer fails
# the process on any leak not named in tests/lsan.supp.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build_dir=${ASAN_BUILD_DIR:-build-asan}

flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
# Exported rather than passed as -D options so that the packaging test, which configures an
# outside program against the installed library, builds it with the same runtime.
export CXXFLAGS="$flags" LDFLAGS="-fsanitize=address,undefined"

# The benchmarks are not tests; they stay out of this build.
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"

# The tests start child processes (QProcess, fork); the options reach them through the
# environment, so every process of the run is checked the same way.
# The fast unwinder: a slow one at every allocation makes the tool's 100,000-element tests take
# a minute each. Our own frames keep their frame pointers, so a leak of ours still shows where it
# was made; the Qt leak in tests/lsan.supp needs the slow one to be named, and only the fuzz
# harnesses meet it.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1:exitcode=23:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:exitcode=24"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0:exitcode=23"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build_dir" --output-on-failure --parallel "$(nproc)"
