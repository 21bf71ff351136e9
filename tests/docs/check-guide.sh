#!/usr/bin/env bash
# Every file and folder the architecture guide names in backticks exists: a unit named
# without an ending ("Core/Tavisk") needs its header or its source, a folder ("Gfx/cairo/")
# needs to be one. Paths under src/ may leave out the "src/".
set -euo pipefail
root="${1:?usage: check-guide.sh REPO_ROOT}"
guide="$root/docs/ARCHITECTURE.md"
[ -f "$guide" ] || { echo "no guide at $guide"; exit 1; }

# Whether token (as written in the guide) names something under path; a "*" in it is a wildcard.
exists() {
    local token="$1" path="$2" match
    for match in $path; do
        case "$token" in
            */) [ -d "$match" ] && return 0 ;;
            *.*) [ -e "$match" ] && return 0 ;;
            *) { [ -e "$match" ] || [ -e "$match.h" ] || [ -e "$match.cpp" ] || [ -d "$match" ]; } && return 0 ;;
        esac
    done
    return 1
}

missing=0
named=0
while IFS= read -r token; do
    case "$token" in
        Core/* | Gfx/* | Host/* | Player/* | Preview/* | Render/* | Check/* | Authoring/* | Cli/* | ImportSvg/* | Synth/* | Web/*)
            path="$root/src/$token" ;;
        src/* | tests/* | scripts/* | bench/* | fuzz/* | docs/* | data/* | .ci/*) path="$root/$token" ;;
        *) continue ;;
    esac
    named=$((named + 1))
    if ! exists "$token" "$path"; then
        echo "docs/ARCHITECTURE.md names \`$token\`, which does not exist"
        missing=$((missing + 1))
    fi
done < <(grep -o '`[^`]*`' "$guide" | tr -d '`' | tr ' ,' '\n\n' | grep '/' | sort -u)

if [ "$named" -eq 0 ]; then
    echo "the guide names no files: the check itself is broken"
    exit 1
fi
[ "$missing" -eq 0 ] || exit 1
echo "$named paths named, all present"
