#!/usr/bin/env bash
# Builds the fuzz targets of the settings and CSV readers with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/, and runs each for a bounded time.
# Usage: scripts/fuzz.sh [seconds per target]   (or FUZZ_SECONDS; default 60; FUZZ_BUILD_DIR moves the build)
# Exits non-zero when a target finds a crash; the input is kept in build-fuzz/artifacts/.
# shellcheck source=scripts/setup.sh
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

seconds="${1:-${FUZZ_SECONDS:-60}}"
[[ "$seconds" =~ ^[1-9][0-9]*$ ]] || ringtal_fail "fuzz.sh: seconds must be a positive whole number, not '$seconds'"

fuzz_dir="$RINGTAL_ROOT/fuzz"
build="${FUZZ_BUILD_DIR:-$RINGTAL_ROOT/build-fuzz}"
mapfile -t targets < <(find "$fuzz_dir" -maxdepth 1 -name 'fuzz_*.cpp' -printf '%f\n' | sed 's/\.cpp$//' | sort)
((${#targets[@]} > 0)) || ringtal_fail "fuzz.sh: no fuzz targets in $fuzz_dir"

# A folder configured with another compiler or generator would keep it; start it over.
if [[ -f "$build/CMakeCache.txt" ]] && ! grep -qx 'CMAKE_GENERATOR:INTERNAL=Ninja' "$build/CMakeCache.txt"; then
    rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles"
fi
CC=clang CXX=clang++ cmake -S "$RINGTAL_ROOT" -B "$build" -G Ninja \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
    -DRINGTAL_FUZZ=ON -DRINGTAL_WERROR=ON -DRINGTAL_SANITIZE=OFF -DRINGTAL_BENCH=OFF
cmake --build "$build" --target "${targets[@]}"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}:halt_on_error=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
failed=()
for target in "${targets[@]}"; do
    name="${target#fuzz_}"
    # New inputs go to a working corpus in the build folder; the seeds in the repo stay as they are.
    corpus="$build/corpus/$name"
    artifacts="$build/artifacts"
    mkdir -p "$corpus" "$artifacts"
    # A reader of another kind of text brings its own pieces; the settings readers share theirs.
    dict="$fuzz_dir/$name.dict"
    [[ -f "$dict" ]] || dict="$fuzz_dir/settings.dict"
    echo "ringtal: fuzzing $name for ${seconds}s"
    if ! "$build/bin/$target" -max_total_time="$seconds" -print_final_stats=1 -dict="$dict" \
        -artifact_prefix="$artifacts/$name-" "$corpus" "$fuzz_dir/corpus/$name" </dev/null; then
        failed+=("$name")
    fi
done

if ((${#failed[@]} > 0)); then
    ringtal_fail "fuzzing found crashes in: ${failed[*]} (inputs in $build/artifacts/)"
fi
echo "ringtal: all fuzz targets ran ${seconds}s each without a crash"
