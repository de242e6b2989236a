#!/usr/bin/env bash
# Packs the exe this build made with tools/package, unpacks the zip into a
# folder whose name has a space and Chinese characters, and checks that what it
# holds starts under Wine from there, keeps its config folder beside it and
# writes out the folder takeover's launcher it carries.
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
launcher_folder=
cleanup() {
  if [ -n "$quorlen_pid" ]; then kill -9 "$quorlen_pid" 2>/dev/null || true; fi
  if [ -n "$launcher_folder" ]; then
    # The classes as they were before the takeover was made up below.
    wine reg delete 'HKCU\Software\Quorlen\Takeover' /f >/dev/null 2>&1 || true
    wine reg delete 'HKCU\Software\Classes' /f >/dev/null 2>&1 || true
    if [ -s "$work/classes.reg" ]; then wine reg import "$(winepath -w "$work/classes.reg" 2>/dev/null)" >/dev/null 2>&1 || true; fi
    rm -rf "$launcher_folder"
  fi
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
expected=(Quorlen.exe 用户指南.md LICENSE THIRD-PARTY-NOTICES.txt CHANGES.md)
while IFS= read -r picture; do expected+=("$picture"); done \
  < <(grep -o '](images/[^)]*)' "$folder/用户指南.md" | sed 's/^](\(.*\))$/\1/' | sort -u)
for file in "${expected[@]}"; do
  if [ ! -f "$folder/$file" ]; then
    echo "the package lacks $file; it holds:" >&2
    (cd "$folder" && find . -type f | sort) >&2
    exit 1
  fi
done

# A takeover of this copy whose launcher has gone missing: the start writes the
# launcher out again without a question, from inside the packaged exe.
local_app_data=$(wine cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')
launcher="$local_app_data\Quorlen\QuorlenLauncher.exe"
launcher_folder=$(dirname "$(winepath -u "$launcher" 2>/dev/null)")
rm -rf "$launcher_folder"
wine reg export 'HKCU\Software\Classes' "$(winepath -w "$work/classes.reg" 2>/dev/null)" /y >/dev/null 2>&1 || true
for key in 'Directory\shell\open' 'Directory\shell\opennewprocess' 'Folder\shell\open' \
           'Folder\shell\opennewprocess' 'DesktopFolder\shell\open' 'LibraryFolder\shell\open' \
           'Drive\shell\open' 'Applications\Quorlen.exe\shell\open'; do
  wine reg add "HKCU\\Software\\Classes\\$key\\command" /ve /t REG_EXPAND_SZ /d "\"$launcher\" \"%1\"" /f >/dev/null 2>&1
done
wine reg add 'HKCU\Software\Classes\Directory\Background\shell\open\command' /ve /t REG_EXPAND_SZ \
  /d "\"$launcher\" /d \"%V\"" /f >/dev/null 2>&1
record='HKCU\Software\Quorlen\Takeover'
# Wine reads the arguments in the locale's character set: the folder's name is Chinese.
LC_ALL=C.UTF-8 wine reg add "$record" /v Program /d "$(winepath -w "$folder/Quorlen.exe" 2>/dev/null)" /f \
  >/dev/null 2>&1
wine reg add "$record" /v Launcher /d "$launcher" /f >/dev/null 2>&1
wine reg add "$record" /v Phase /t REG_DWORD /d 2 /f >/dev/null 2>&1
mkdir -p "$folder/config"
{ printf '\xff\xfe'; printf 'Takeover=1\r\n' | iconv -f UTF-8 -t UTF-16LE; } >"$folder/config/settings.txt"

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
for _ in $(seq 1 600); do
  cmp -s "$launcher_folder/QuorlenLauncher.exe" "$(dirname "$exe")/QuorlenLauncher.exe" && break
  sleep 0.1
done
if ! cmp -s "$launcher_folder/QuorlenLauncher.exe" "$(dirname "$exe")/QuorlenLauncher.exe"; then
  echo "the packaged Quorlen.exe did not write out the launcher it carries within a minute" >&2
  exit 1
fi
kill -9 "$quorlen_pid"
wait "$quorlen_pid" 2>/dev/null || true
quorlen_pid=
# A takeover writes the uninstall entry; this one's folder is about to go.
wine reg delete 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorlen' /f >/dev/null 2>&1 || true
echo "the package starts from \"$folder\", keeps its config there and writes out its launcher"
