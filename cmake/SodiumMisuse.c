/* libsodium calls sodium_misuse() when it is used in a way it cannot survive (for instance a random source
   that cannot be read). The library's own definition lives in core.c together with the whole run-time
   initialisation, which the Windows build leaves out; without a handler it does the same as this one. */
#include <stdlib.h>

void sodium_misuse(void) { abort(); }
