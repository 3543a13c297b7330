#!/bin/bash
# Builds the libFuzzer targets with clang-14 in their own build directory and runs each for a
# fixed time on a copy of its corpus in fuzz/corpus/<target>/. Fails on a crash, a sanitizer
# report, a leak, an input that runs longer than the timeout (a hang) or a broken invariant,
# and keeps the input that did it. Prints each target's count of executions.
#
#   VXPLAN_FUZZ_SECONDS      time per target (15)
#   VXPLAN_FUZZ_BUILD        build directory (build-fuzz)
#   VXPLAN_FUZZ_CMAKE_ARGS   more configure arguments, e.g. -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
#   VXPLAN_FUZZ_TARGETS      the targets to build and run (all)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${VXPLAN_FUZZ_SECONDS:-15}
build=${VXPLAN_FUZZ_BUILD:-build-fuzz}
targets=${VXPLAN_FUZZ_TARGETS:-$(cd fuzz && ls fuzz_*.cpp | sed 's/\.cpp$//' | tr '\n' ' ')}

# shellcheck disable=SC2086
cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 -DVXPLAN_FUZZ=ON \
    -DBUILD_SHARED_LIBS=OFF -DVXPLAN_BUILD_TESTS=OFF -DVXPLAN_BUILD_BENCH=OFF -DVXPLAN_BUILD_EXAMPLES=OFF \
    ${VXPLAN_FUZZ_CMAKE_ARGS:-}
# shellcheck disable=SC2086
cmake --build "$build" --target $targets

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export LSAN_OPTIONS=suppressions=$PWD/.ci/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

run=$(mktemp -d "$PWD/$build/run.XXXXXX")
failed=""
for t in $targets; do
    mkdir -p "$run/$t/corpus"
    if [ -d "fuzz/corpus/$t" ]; then cp fuzz/corpus/"$t"/* "$run/$t/corpus/"; fi
    status=0
    (cd "$run/$t" && "$OLDPWD/$build/fuzz/$t" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$run/$t/" corpus >log 2>&1) || status=$?
    execs=$(awk '/stat::number_of_executed_units/ {print $2}' "$run/$t/log")
    if [ "$status" -eq 0 ]; then
        echo "$t: ${execs:-?} executions in ${seconds}s"
    else
        echo "$t: FAILED (exit $status) after ${execs:-?} executions; the log's end:"
        tail -n 60 "$run/$t/log"
        ls "$run/$t"/crash-* "$run/$t"/timeout-* "$run/$t"/oom-* "$run/$t"/leak-* 2>/dev/null || true
        failed="$failed $t"
    fi
done
if [ -n "$failed" ]; then
    echo "Fuzzing failed:$failed (inputs and logs in $run)"
    exit 1
fi
rm -rf "$run"
