#!/usr/bin/env bash
# Fails when a layer reaches up: a core folder that includes a folder above it or Qt, or a
# layer's library that needs a symbol only a library above it defines.
# Usage: check-layers.sh SOURCE_DIR LIBRARY...   (libraries from the lowest layer up)
set -euo pipefail
src=$1/src
shift
failed=0

# Core folders, lowest first, each with the folders it must not include.
declare -A above=(
    [platform]="model generate gui editor dialogs browser cli"
    [model]="generate gui editor dialogs browser cli"
    [generate]="gui editor dialogs browser cli"
)
for folder in platform model generate; do
    for upper in ${above[$folder]}; do
        if grep -rn --include='*.h' --include='*.cpp' "#include \"$upper/" "$src/$folder"; then
            echo "check-layers: $folder includes $upper, a layer above it" >&2
            failed=1
        fi
    done
    if grep -rnE --include='*.h' --include='*.cpp' '#include <Q[A-Za-z]*>' "$src/$folder"; then
        echo "check-layers: $folder includes Qt; the core does not use it" >&2
        failed=1
    fi
done

defined() { { nm --defined-only --extern-only "$1" 2>/dev/null || true; } | awk 'NF == 3 {print $3}' | sort -u; }
undefined() { { nm --undefined-only "$1" 2>/dev/null || true; } | awk '{print $NF}' | sort -u; }

# Each library against every one listed after it.
libraries=("$@")
for ((i = 0; i < ${#libraries[@]}; ++i)); do
    lower=${libraries[i]}
    needed=$(undefined "$lower")
    for ((j = i + 1; j < ${#libraries[@]}; ++j)); do
        upper=${libraries[j]}
        climbing=$(comm -12 <(echo "$needed") <(defined "$upper"))
        if [[ -n $climbing ]]; then
            echo "check-layers: $(basename "$lower") needs what $(basename "$upper") defines:" >&2
            echo "$climbing" | c++filt | head -20 >&2
            failed=1
        fi
    done
done
exit $failed
