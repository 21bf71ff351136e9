#!/usr/bin/env bash
# Checks that every DLL the programs in FOLDER import is either in FOLDER or part of Windows.
# Usage: check-imports.sh FOLDER
set -euo pipefail
folder="$1"
# Windows' own DLLs (present on every Windows 10 and later), in lower case.
system=" kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll imm32.dll
  winmm.dll version.dll setupapi.dll msvcrt.dll ws2_32.dll shlwapi.dll usp10.dll dwrite.dll rpcrt4.dll
  bcrypt.dll cfgmgr32.dll hid.dll dnsapi.dll iphlpapi.dll comdlg32.dll comctl32.dll uxtheme.dll
  dinput8.dll xinput1_4.dll mswsock.dll crypt32.dll secur32.dll userenv.dll ntdll.dll "
system=" $(echo $system) "
bad=0
for module in "$folder"/*.exe "$folder"/*.dll; do
  [ -e "$module" ] || continue
  for dll in $(x86_64-w64-mingw32-objdump -p "$module" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u); do
    if [[ "$system" == *" $dll "* ]] || [ -n "$(find "$folder" -maxdepth 1 -iname "$dll")" ]; then continue; fi
    echo "check-imports: $(basename "$module") imports $dll, which is neither in the folder nor part of Windows" >&2
    bad=1
  done
done
exit "$bad"
