#!/usr/bin/env bash
# Packs the exe this build made with tools/package, unpacks the zip into a
# folder whose name has a space and Chinese characters, and checks that what it
# holds starts under Wine from there and keeps its config folder beside it.
# Runs in the private prefix that tools/test prepares, as the program changes HKCU.
#
#   tests/package_test.sh EXE
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
exe=$1

if [ ! -f "${WINEPREFIX:-}/quorlen-private-test-prefix" ]; then
  echo "the package test runs only in the Wine prefix that tools/test prepares" >&2
  exit 1
fi

work=$(mktemp -d)
quorlen_pid=
cleanup() {
  if [ -n "$quorlen_pid" ]; then kill -9 "$quorlen_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

"$root/tools/package" --from "$exe" --out "$work/dist" >"$work/package.log" 2>&1 || {
  cat "$work/package.log" >&2
  echo "tools/package failed" >&2
  exit 1
}
zip_file=$(head -n 1 "$work/package.log")

folder="$work/Quorlen 文件管理器"
unzip -q "$zip_file" -d "$folder"
expected=(Quorlen.exe 用户指南.md LICENSE CHANGES.md)
while IFS= read -r picture; do expected+=("$picture"); done \
  < <(grep -o '](images/[^)]*)' "$folder/用户指南.md" | sed 's/^](\(.*\))$/\1/' | sort -u)
for file in "${expected[@]}"; do
  if [ ! -f "$folder/$file" ]; then
    echo "the package lacks $file; it holds:" >&2
    (cd "$folder" && find . -type f | sort) >&2
    exit 1
  fi
done

# Started from a file manager's point of view: with its own folder as the
# working folder, the program's output kept away from ctest's pipes.
(cd "$folder" && exec wine ./Quorlen.exe) >"$work/wine.log" 2>&1 &
quorlen_pid=$!
# The first tab's folder is saved once it has been shown.
for _ in $(seq 1 600); do
  [ -s "$folder/config/tabs.txt" ] && break
  if ! kill -0 "$quorlen_pid" 2>/dev/null; then
    echo "the packaged Quorlen.exe ended before it saved its first tab" >&2
    cat "$work/wine.log" >&2
    exit 1
  fi
  sleep 0.1
done
if [ ! -s "$folder/config/tabs.txt" ]; then
  echo "the packaged Quorlen.exe wrote no config/tabs.txt beside it within a minute" >&2
  exit 1
fi
kill -9 "$quorlen_pid"
wait "$quorlen_pid" 2>/dev/null || true
quorlen_pid=
# Every start writes the uninstall entry; this one's folder is about to go.
wine reg delete 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorlen' /f >/dev/null 2>&1 || true
echo "the package starts from \"$folder\" and keeps its config there"
