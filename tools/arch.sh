# Sourced by the build, test and run commands: which architecture the Windows programs are built and run
# for, and the Wine that runs them.
#   NIGHTCAP_ARCH   i686 or x86_64. By default the architecture this machine runs: i686 (what the product
#                   has always shipped) where the kernel runs 32-bit x86 programs, x86_64 where it refuses
#                   them (some virtual machines run 64-bit user code only; `dmesg` says "IA-32 emulation
#                   off"). An emulator registered for i386 programs does not count: the tests' waits are
#                   set for real execution.
# After arch_setup: NIGHTCAP_ARCH, OTHER_ARCH, WINEARCH, WINELOADER (the loader itself, never the
# /usr/bin/wine script, which picks the 32-bit loader whenever the 32-bit Wine is installed), WINESERVER
# and WINE_DLLS (Wine's own Windows DLLs of that architecture), all exported.

runs_32bit_programs() {
  for handler in /proc/sys/fs/binfmt_misc/*; do
    case $handler in */register | */status) continue ;; esac
    [ -f "$handler" ] || continue
    grep -qx enabled "$handler" && grep -q '^magic 7f454c46010101' "$handler" && return 1
  done
  /lib/ld-linux.so.2 --version >/dev/null 2>&1
}

arch_setup() {
  if [ -z "${NIGHTCAP_ARCH:-}" ]; then
    if runs_32bit_programs; then NIGHTCAP_ARCH=i686; else NIGHTCAP_ARCH=x86_64; fi
  fi
  case $NIGHTCAP_ARCH in
    i686)
      OTHER_ARCH=x86_64 WINEARCH=win32 WINELOADER=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver
      WINE_DLLS=/usr/lib/i386-linux-gnu/wine/i386-windows ;;
    x86_64)
      OTHER_ARCH=i686 WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
      WINE_DLLS=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows ;;
    *)
      echo "NIGHTCAP_ARCH must be i686 or x86_64, not '$NIGHTCAP_ARCH'" >&2
      return 2 ;;
  esac
  export NIGHTCAP_ARCH OTHER_ARCH WINEARCH WINELOADER WINESERVER WINE_DLLS
}
