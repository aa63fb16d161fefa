#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test, then does the same
# again under AddressSanitizer and UndefinedBehaviorSanitizer, then fuzzes the settings
# and CSV readers for a bounded time (FUZZ_SECONDS per target, 60 unless set).
RINGTAL_WITH_SERVER=1
# shellcheck source=scripts/setup.sh
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

# Tests start from empty per-user folders, so leftovers of an earlier run or the
# developer's own settings (~/.config/Ringtal) never decide a result.
ringtal_fresh_user_folders()
{
    local home="$1/test-home"
    rm -rf "$home"
    mkdir -p "$home/config" "$home/data" "$home/cache" "$home/runtime"
    chmod 700 "$home/runtime"
    export XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache"
    export XDG_RUNTIME_DIR="$home/runtime"
}

build="$RINGTAL_ROOT/build"
ringtal_build "$build" "${RINGTAL_MAIN_BUILD_OPTIONS[@]}"
ringtal_fresh_user_folders "$build"
ringtal_ctest "$build"

asan="$RINGTAL_ROOT/build-asan"
ringtal_build "$asan" -DCMAKE_BUILD_TYPE=Debug -DRINGTAL_WERROR=ON -DRINGTAL_SANITIZE=ON -DRINGTAL_BENCH=OFF
ringtal_fresh_user_folders "$asan"
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:check_initialization_order=1"
export LSAN_OPTIONS="suppressions=$RINGTAL_ROOT/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
ringtal_ctest "$asan"

bash "$RINGTAL_ROOT/scripts/fuzz.sh"

echo "ringtal: all builds and tests passed"
