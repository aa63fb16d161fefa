#!/usr/bin/env bash
# Builds the program (incrementally, in build/) and starts it.
# shellcheck source=scripts/setup.sh
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

ringtal_build "$RINGTAL_ROOT/build" "${RINGTAL_MAIN_BUILD_OPTIONS[@]}"

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
    echo "ringtal: no DISPLAY or WAYLAND_DISPLAY is set; the window needs a desktop session" >&2
fi
exec "$RINGTAL_ROOT/build/bin/ringtal" "$@"
