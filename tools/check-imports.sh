#!/bin/sh
# Fails when a program imports a DLL that is not part of Windows (or XLUE.dll, which ships beside Update.exe).
set -eu
status=0
for exe in "$@"; do
  for dll in $(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
    case "$(echo "$dll" | tr 'A-Z' 'a-z')" in
      kernel32.dll|user32.dll|gdi32.dll|advapi32.dll|shell32.dll|shlwapi.dll|comctl32.dll|comdlg32.dll|\
      ole32.dll|oleaut32.dll|msimg32.dll|psapi.dll|version.dll|iphlpapi.dll|wininet.dll|urlmon.dll|\
      gdiplus.dll|msvcrt.dll|ws2_32.dll|winmm.dll|uxtheme.dll) ;;
      xlue.dll) [ "$(basename "$exe")" = Update.exe ] || { echo "$exe imports $dll"; status=1; } ;;
      *) echo "$exe imports $dll"; status=1 ;;
    esac
  done
done
exit $status
