#!/usr/bin/env bash
# Formats the C++ sources with the pinned clang-format (not the samples under tests/data, which
# tests read byte for byte), or with --check only reports what differs.
# The version is pinned because every release formats a little differently, and the check must
# give the same answer on every machine.
set -euo pipefail
cd "$(dirname "$0")/.."

tool=clang-format-14
if ! command -v "$tool" >/dev/null 2>&1; then
    echo "$tool is not installed (Debian package clang-format-14)." >&2
    exit 2
fi

if [ -d .git ] || git rev-parse --git-dir >/dev/null 2>&1; then
    mapfile -d '' files < <(git ls-files -z -- '*.cpp' '*.h' ':!:tests/data/*')
else
    mapfile -d '' files < <(find src tests bench fuzz -path tests/data -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
fi

if [ "${1:-}" != "--check" ]; then
    "$tool" -i -- "${files[@]}"
    exit 0
fi

# One process for all files; a diff for each file that differs, so the log shows the fix.
if "$tool" --dry-run --Werror -- "${files[@]}" >/dev/null 2>&1; then
    echo "${#files[@]} files formatted as $tool would."
    exit 0
fi
bad=0
for f in $("$tool" --dry-run -- "${files[@]}" 2>&1 | sed -n 's/^\(.*\):[0-9]*:[0-9]*: warning: code should be clang-formatted.*/\1/p' | sort -u); do
    "$tool" -- "$f" | diff -u --label "$f" --label "$f (formatted)" "$f" - || true
    bad=$((bad + 1))
done
echo "$bad file(s) differ from $tool's format; 'make format' rewrites them." >&2
exit 1
