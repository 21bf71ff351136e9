#!/usr/bin/env bash
# Fails, listing the files to format, when a tracked C++ source differs from the
# project's .clang-format style. Usage: scripts/check-format.sh (from anywhere).
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t sources < <(git ls-files '*.cpp' '*.h')
unformatted=()
for file in "${sources[@]}"; do
  clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done
if [ ${#unformatted[@]} -ne 0 ]; then
  echo "check-format: these files are not formatted (run clang-format -i on them):" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
echo "check-format: ${#sources[@]} files formatted"
