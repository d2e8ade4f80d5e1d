# Third-party sources, unpacked from Debian source packages into the build tree by the set-up scripts
# (tools/fetch-sources.sh, run by tools/build.sh and tools/build-native.sh); configuring installs nothing.
# A nested build (the server's native tree) is handed the outer tree's folder, so nothing is unpacked twice.
set(DEPS_DIR ${CMAKE_BINARY_DIR}/_deps CACHE PATH "unpacked third-party sources")
file(GLOB LZMA_C_DIR LIST_DIRECTORIES true ${DEPS_DIR}/7zip-*/C)
file(GLOB LUA_DIR LIST_DIRECTORIES true ${DEPS_DIR}/lua5.1-*/src)
file(GLOB SODIUM_DIR LIST_DIRECTORIES true ${DEPS_DIR}/libsodium-*/src/libsodium)
if(NOT LZMA_C_DIR OR NOT LUA_DIR OR NOT SODIUM_DIR)
  message(FATAL_ERROR "the dependency sources are not in ${DEPS_DIR}: run sh tools/fetch-sources.sh ${DEPS_DIR}")
endif()
list(GET LZMA_C_DIR 0 LZMA_C_DIR)
list(GET LUA_DIR 0 LUA_DIR)
list(GET SODIUM_DIR 0 SODIUM_DIR)

# The 7z decoder of the LZMA SDK (only the files the extractor links).
set(LZMA_DEC_SRCS 7zAlloc 7zArcIn 7zBuf 7zCrc 7zCrcOpt 7zDec 7zFile 7zStream
                  Bcj2 Bra Bra86 CpuArch Delta Lzma2Dec LzmaDec)
list(TRANSFORM LZMA_DEC_SRCS PREPEND ${LZMA_C_DIR}/)
list(TRANSFORM LZMA_DEC_SRCS APPEND .c)

# Lua 5.1 core and standard libraries (no interpreter front ends).
set(LUA_SRCS lapi lcode ldebug ldo ldump lfunc lgc llex lmem lobject lopcodes lparser lstate lstring
             ltable ltm lundump lvm lzio lauxlib lbaselib ldblib liolib lmathlib loslib ltablib lstrlib
             loadlib linit)
list(TRANSFORM LUA_SRCS PREPEND ${LUA_DIR}/)
list(TRANSFORM LUA_SRCS APPEND .c)

# libsodium, for release signatures. The native tools link Debian's libsodium-dev; the Windows build
# compiles the Ed25519 and SHA-256 code it needs (with what that code pulls in: SHA-512, the
# constant-time helpers and the system random source) into a static library of its own.
if(WIN32)
  set(SODIUM_SRCS crypto_sign/ed25519/ref10/open.c crypto_sign/ed25519/ref10/sign.c
                  crypto_sign/ed25519/ref10/keypair.c crypto_core/ed25519/ref10/ed25519_ref10.c
                  crypto_hash/sha256/cp/hash_sha256_cp.c crypto_hash/sha512/cp/hash_sha512_cp.c
                  crypto_verify/sodium/verify.c sodium/utils.c randombytes/randombytes.c
                  randombytes/sysrandom/randombytes_sysrandom.c crypto_stream/chacha20/stream_chacha20.c
                  crypto_stream/chacha20/ref/chacha20_ref.c)
  list(TRANSFORM SODIUM_SRCS PREPEND ${SODIUM_DIR}/)
  # version.h is made by the library's configure script; the same substitutions here.
  file(READ ${SODIUM_DIR}/include/sodium/version.h.in sodium_version_h)
  string(REPLACE "@VERSION@" "1.0.18" sodium_version_h "${sodium_version_h}")
  string(REPLACE "@SODIUM_LIBRARY_VERSION_MAJOR@" "10" sodium_version_h "${sodium_version_h}")
  string(REPLACE "@SODIUM_LIBRARY_VERSION_MINOR@" "3" sodium_version_h "${sodium_version_h}")
  string(REPLACE "@SODIUM_LIBRARY_MINIMAL_DEF@" "" sodium_version_h "${sodium_version_h}")
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/sodium-include/sodium/version.h CONTENT "${sodium_version_h}" @ONLY)
  add_library(sodium STATIC ${SODIUM_SRCS} ${CMAKE_SOURCE_DIR}/cmake/SodiumMisuse.c)
  target_compile_definitions(sodium PRIVATE CONFIGURED=1 NATIVE_LITTLE_ENDIAN=1 PUBLIC SODIUM_STATIC=1)
  target_include_directories(sodium PRIVATE ${SODIUM_DIR}/include/sodium ${SODIUM_DIR}/include/sodium/private
                                            ${CMAKE_BINARY_DIR}/sodium-include/sodium
                             PUBLIC ${SODIUM_DIR}/include ${CMAKE_BINARY_DIR}/sodium-include)
  target_compile_options(sodium PRIVATE -w)
  target_link_libraries(sodium PUBLIC advapi32)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(SODIUM REQUIRED IMPORTED_TARGET libsodium)
  add_library(sodium INTERFACE)
  target_link_libraries(sodium INTERFACE PkgConfig::SODIUM)
endif()
