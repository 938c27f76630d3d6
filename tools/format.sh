#!/bin/bash
# clang-format over every C/C++ file in git: --fix rewrites them, --check fails on a difference.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h' '*.hpp' | grep -v '^build/')
[ ${#files[@]} -gt 0 ] || exit 0
if [ "${1:-}" = "--fix" ]; then
    clang-format -i "${files[@]}"
else
    clang-format --dry-run --Werror "${files[@]}"
    echo "format: ${#files[@]} files formatted correctly"
fi
