# shellcheck shell=bash
# Shared by run.sh, test.sh and bench.sh (sourced, not run): installs what a
# fresh Debian 12 machine lacks, then configures and builds one build folder.

set -euo pipefail

RINGTAL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

RINGTAL_PACKAGES=(
    build-essential cmake ninja-build pkg-config
    # Widgets, Sql, PrintSupport, Test and the offscreen platform come with qt6-base-dev;
    # the SQLite driver and Qt's German translations are separate packages.
    qt6-base-dev libqt6sql6-sqlite qt6-translations-l10n
    # A competition on a PostgreSQL server: Qt's driver, and libpq for reading rows fast.
    libqt6sql6-psql libpq-dev
    # The toolbar pictures and the window icon are SVG: Qt Svg and its icon engine plugin.
    qt6-svg-dev
    # Qt6Gui's CMake package refuses to load without the OpenGL headers.
    libgl-dev
    libsqlite3-dev libbenchmark-dev
    # Access files are read with mdbtools' library; mdb-export is the benchmark's baseline.
    mdbtools-dev libmdb3 mdbtools
    # The tests read exported CSV files back with Python's csv module.
    python3
    # Offscreen Qt draws no text without at least one font.
    fonts-dejavu-core
    poppler-utils xvfb xauth
    # libFuzzer and clang's sanitizer runtimes are only a Recommends of clang.
    clang libclang-rt-14-dev clang-format
)

# The tests and benchmarks start throwaway PostgreSQL clusters of their own (initdb, pg_ctl);
# the program needs no server on the PC it runs on, so run.sh installs none.
if [[ "${RINGTAL_WITH_SERVER:-}" == 1 ]]; then
    RINGTAL_PACKAGES+=(postgresql)
fi

# run.sh and test.sh share build/; the same options keep either from rebuilding everything.
# shellcheck disable=SC2034 # used by the scripts that source this file
RINGTAL_MAIN_BUILD_OPTIONS=(
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRINGTAL_WERROR=ON -DRINGTAL_SANITIZE=OFF -DRINGTAL_BENCH=ON
    -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
)

ringtal_fail()
{
    echo "ringtal: $*" >&2
    exit 1
}

ringtal_missing_packages()
{
    # Status "ii" is fully installed; anything else (absent, half-configured) needs apt.
    local installed
    installed="$(dpkg-query -W -f='${Package} ${db:Status-Abbrev}\n' "${RINGTAL_PACKAGES[@]}" 2>/dev/null \
        | awk '$2 == "ii" { print $1 }' || true)"
    local package
    for package in "${RINGTAL_PACKAGES[@]}"; do
        grep -qxF "$package" <<<"$installed" || echo "$package"
    done
}

ringtal_install_packages()
{
    if ! command -v dpkg-query >/dev/null || ! command -v apt-get >/dev/null; then
        ringtal_fail "this script installs its tools with apt and needs Debian 12"
    fi
    local missing
    mapfile -t missing < <(ringtal_missing_packages)
    if ((${#missing[@]} == 0)); then
        return 0
    fi
    echo "ringtal: installing missing packages: ${missing[*]}"
    local as_root=()
    if [[ "$(id -u)" -ne 0 ]]; then
        command -v sudo >/dev/null || ringtal_fail "not root and no sudo; install as root: ${missing[*]}"
        as_root=(sudo)
    fi
    # env passes DEBIAN_FRONTEND through sudo, which would otherwise drop it.
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update </dev/null
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y --no-install-recommends "${missing[@]}" </dev/null
    mapfile -t missing < <(ringtal_missing_packages)
    ((${#missing[@]} == 0)) || ringtal_fail "still missing after apt-get install: ${missing[*]}"
}

# ringtal_build <folder> <cmake options...>: configure (again, cheaply) and build incrementally.
ringtal_build()
{
    local dir="$1"
    shift
    local cache="$dir/CMakeCache.txt"
    # A folder configured by hand with another generator would make cmake stop; start it over.
    if [[ -f "$cache" ]] && ! grep -qx 'CMAKE_GENERATOR:INTERNAL=Ninja' "$cache"; then
        echo "ringtal: $dir was configured for another generator; configuring it afresh for Ninja"
        rm -rf "$cache" "$dir/CMakeFiles"
    fi
    cmake -S "$RINGTAL_ROOT" -B "$dir" -G Ninja "$@"
    cmake --build "$dir"
}

# ringtal_ctest <folder>: runs every test; "no tests" passes only while there are no test sources.
ringtal_ctest()
{
    local dir="$1"
    local no_tests=error
    if ! compgen -G "$RINGTAL_ROOT/tests/*/tst_*.cpp" >/dev/null; then
        echo "ringtal: there are no test sources (tests/*/tst_*.cpp) yet"
        no_tests=ignore
    fi
    ctest --test-dir "$dir" --output-on-failure --no-tests="$no_tests"
}

# Qt warns and falls back when the locale is not UTF-8 (CI often has none set).
if [[ "$(locale charmap 2>/dev/null || true)" != "UTF-8" ]]; then
    export LC_ALL=C.UTF-8
fi

ringtal_install_packages
