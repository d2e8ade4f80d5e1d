# The native build of the portable modules (no Windows headers): fuzz targets, benchmarks, the server and the
# native tests.
#   NC_FUZZ=ON  (clang): every object is built with ASan/UBSan and libFuzzer coverage; add_fuzz_target works.
#   NC_FUZZ=OFF (release): add_benchmark works.
option(NC_FUZZ "build the libFuzzer targets (needs clang)" OFF)
if(NC_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "NC_FUZZ needs clang: configure with CC=clang CXX=clang++")
  endif()
  add_compile_options(-g -O1 -fno-omit-frame-pointer -fsanitize=address,undefined,fuzzer-no-link
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Nightcap keeps its texts in GBK (as in the Windows build, cmake/windows.cmake). Clang encodes narrow
# literals only as UTF-8: the clang builds (fuzz targets, benchmarks) keep them so, as they compare no
# texts; the native tests need GCC (tests/CMakeLists.txt).
function(use_gbk_literals target)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-finput-charset=UTF-8 -fexec-charset=GBK>)
  endif()
endfunction()

# add_fuzz_target(name SOURCES a.cpp ... [LIBS lib ...])
function(add_fuzz_target name)
  if(NOT NC_FUZZ)
    return()
  endif()
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()

# add_benchmark(name SOURCES a.cpp ... [LIBS lib ...])
function(add_benchmark name)
  if(NC_FUZZ)
    return()
  endif()
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS})
endfunction()
