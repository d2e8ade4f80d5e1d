# Third-party sources, unpacked from Debian source packages into the build tree at configure time.
# A nested build (the server's native tree) is handed the outer tree's folder, so nothing is unpacked twice.
set(DEPS_DIR ${CMAKE_BINARY_DIR}/_deps CACHE PATH "unpacked third-party sources")
execute_process(COMMAND sh ${CMAKE_SOURCE_DIR}/tools/fetch-sources.sh ${DEPS_DIR}
                RESULT_VARIABLE fetch_rc)
if(NOT fetch_rc EQUAL 0)
  message(FATAL_ERROR "could not unpack the dependency sources into ${DEPS_DIR}")
endif()
file(GLOB LZMA_C_DIR LIST_DIRECTORIES true ${DEPS_DIR}/7zip-*/C)
file(GLOB LUA_DIR LIST_DIRECTORIES true ${DEPS_DIR}/lua5.1-*/src)
list(GET LZMA_C_DIR 0 LZMA_C_DIR)
list(GET LUA_DIR 0 LUA_DIR)

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
