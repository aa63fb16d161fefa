#!/usr/bin/env bash
# Fails when a file in src/ includes against the direction of the layers:
#   store <- scoring, settings <- grid, widgets <- printing, masterlist, about, classes, server <- certificates
#   <- mainwindow <- app
# A folder may include its own files and those of lower layers, never a layer above
# nor a folder beside it on its own layer. Every include of the program's own files
# names its folder, so the direction can be read off the line.
# Usage: check-includes.sh [source folder], src/ of this checkout when not given.
set -euo pipefail
src="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../src" && pwd)}"

declare -A layer=([store]=0 [scoring]=1 [settings]=1 [grid]=2 [widgets]=2 [classes]=3
                  [printing]=3 [masterlist]=3 [about]=3 [server]=3 [certificates]=4 [mainwindow]=5 [app]=6)

failures=0
while IFS= read -r file; do
    folder="${file#"$src"/}"
    folder="${folder%%/*}"
    if [[ -z "${layer[$folder]+set}" ]]; then
        echo "$file: the folder $folder has no place in the layers (scripts/check-includes.sh)"
        failures=$((failures + 1))
        continue
    fi
    while IFS=: read -r line target; do
        target="${target#*\"}"
        target="${target%\"*}"
        [[ "$target" == *.moc || "$target" == moc_* ]] && continue
        if [[ "$target" != */* ]]; then
            echo "$file:$line: \"$target\" does not name its folder"
            failures=$((failures + 1))
            continue
        fi
        to="${target%%/*}"
        if [[ -z "${layer[$to]+set}" ]]; then
            echo "$file:$line: \"$target\" is not in a folder of src/"
            failures=$((failures + 1))
        elif [[ "$to" != "$folder" ]] && (( layer[$to] >= layer[$folder] )); then
            echo "$file:$line: $folder must not include $target ($to is not below $folder)"
            failures=$((failures + 1))
        fi
    done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" | sed 's/^\([0-9]*\):.*include[[:space:]]*/\1:/')
done < <(find "$src" -name '*.cpp' -o -name '*.h' | sort)

if (( failures > 0 )); then
    echo "ringtal: $failures include(s) against the direction of the layers"
    exit 1
fi
echo "ringtal: every include in $src follows the direction of the layers"
