#!/usr/bin/env bash
# Builds everything and runs every test: a normal build, the same suite again under
# AddressSanitizer and UndefinedBehaviorSanitizer, the Windows cross build under Wine, the
# release packages, and a short run of every fuzz harness.
# Any failing test, sanitizer report or fuzz crash fails the command.
#
# MORVI_TEST_FUZZ_SECONDS sets the fuzzing time per harness (default 15; 0 skips fuzzing).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
started=$SECONDS
# Line tables are all the debug information the tests need (stack traces, sanitizer reports);
# full debug information doubles the compile time of the template-heavy files.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG"
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs" --timeout 600

# The sanitizer build: every report aborts the test that caused it (-fno-sanitize-recover),
# leaks included.
echo "== AddressSanitizer + UndefinedBehaviorSanitizer build (build-asan)"
# -O1, as the sanitizers' authors advise: a third of the compile time of -O2 with full
# debug information, and the reports keep their file and line.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVI_SANITIZE=ON \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG"
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1}" \
UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}" \
    ctest --test-dir build-asan --output-on-failure -j"$jobs" --timeout 900

# Windows: one Release cross build with mingw-w64, its suites and programs run under Wine.
echo "== Windows cross build (build-win), tested under Wine"
cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
cmake --build build-win -j"$jobs"
bash scripts/windows-tests.sh build-win build

# The release packages: the Windows zip and the Debian package, checked for their contents.
echo "== release packages (dist/)"
MORVI_PACKAGE_REUSE_BUILDS=1 bash scripts/package.sh

fuzz_seconds="${MORVI_TEST_FUZZ_SECONDS:-15}"
if [ "$fuzz_seconds" != 0 ]; then
    echo "== fuzz harnesses, ${fuzz_seconds}s each (build-fuzz)"
    bash scripts/fuzz.sh "$fuzz_seconds"
fi
echo "== all tests passed in $((SECONDS - started))s"
