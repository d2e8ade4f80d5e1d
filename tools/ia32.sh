# Sourced by the test and run commands: whether this machine runs 32-bit x86 programs, which Wine's 32-bit
# loader is and every program of the product becomes.
#   runs_32bit_programs   true when the kernel runs an i386 program itself. Some virtual machines run 64-bit
#                         user code only (the kernel refuses i386 programs); an emulator registered for them
#                         does not count, since the tests' waits are set for real execution.
runs_32bit_programs() {
  for handler in /proc/sys/fs/binfmt_misc/*; do
    case $handler in */register | */status) continue ;; esac
    [ -f "$handler" ] || continue
    grep -qx enabled "$handler" && grep -q '^magic 7f454c46010101' "$handler" && return 1
  done
  /lib/ld-linux.so.2 --version >/dev/null 2>&1
}
