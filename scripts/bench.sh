#!/usr/bin/env bash
# Builds an optimised copy in build-release/ and runs the benchmarks, if there are any yet.
RINGTAL_WITH_SERVER=1
# shellcheck source=scripts/setup.sh
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

release="$RINGTAL_ROOT/build-release"
ringtal_build "$release" -DCMAKE_BUILD_TYPE=Release -DRINGTAL_WERROR=OFF -DRINGTAL_SANITIZE=OFF -DRINGTAL_BENCH=ON

# Asking the sources, not the folder, keeps a stale binary of removed benchmarks from running.
if ! compgen -G "$RINGTAL_ROOT/bench/bench_*.cpp" >/dev/null; then
    echo "ringtal: there are no benchmarks yet (no bench/bench_*.cpp), so none was built or run"
    exit 0
fi
bench="$release/bin/ringtal_bench"
[[ -x "$bench" ]] || ringtal_fail "the build did not produce $bench"
# Benchmarks that open windows or print need no desktop.
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
exec "$bench" "$@"
