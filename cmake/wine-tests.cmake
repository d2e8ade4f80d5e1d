# Test executables are built with mingw and run by ctest through Wine, in a private prefix inside the
# build tree that is created once and reused, with a persistent wineserver started by the WINE fixture.
# The prefix, Wine's loader and server follow the architecture of the build: the loaders are called by
# their own paths, since /usr/bin/wine picks the 32-bit one whenever the 32-bit Wine is installed.
enable_testing()
set(WINE_PREFIX_DIR ${CMAKE_BINARY_DIR}/wineprefix)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(NIGHTCAP_ARCH x86_64)
  set(WINE_ARCH win64)
  set(WINE_LOADER /usr/lib/wine/wine64)
  set(WINE_SERVER /usr/lib/wine/wineserver64)
  set(WINE_WINDOWS_DLLS /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
else()
  set(NIGHTCAP_ARCH i686)
  set(WINE_ARCH win32)
  set(WINE_LOADER /usr/lib/wine/wine)
  set(WINE_SERVER /usr/lib/wine/wineserver)
  set(WINE_WINDOWS_DLLS /usr/lib/i386-linux-gnu/wine/i386-windows)
endif()
set(WINE_ENV WINEPREFIX=${WINE_PREFIX_DIR} WINEARCH=${WINE_ARCH} WINELOADER=${WINE_LOADER}
             WINESERVER=${WINE_SERVER} WINEDEBUG=-all "WINEDLLOVERRIDES=mscoree,mshtml="
             LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8)
set(CMAKE_CROSSCOMPILING_EMULATOR env ${WINE_ENV} ${WINE_LOADER})

add_test(NAME wine_up COMMAND sh ${CMAKE_SOURCE_DIR}/tools/wine-up.sh $<TARGET_FILE:wine_desktop_holder>)
add_test(NAME wine_down COMMAND sh -c "${WINE_SERVER} -k || true")
set_tests_properties(wine_up wine_down PROPERTIES ENVIRONMENT "${WINE_ENV}")
set_tests_properties(wine_up PROPERTIES FIXTURES_SETUP WINE)
set_tests_properties(wine_down PROPERTIES FIXTURES_CLEANUP WINE)


# add_wine_test(name SOURCES a.cpp ... [LIBS lib ...] [GUI] [GBK] [FILE_SIZE_LIMIT bytes])
# GUI tests get the support library for driving windows and the display to themselves; GBK tests compile
# their narrow literals to code page 936 like Nightcap does. With FILE_SIZE_LIMIT the test and the programs
# it starts cannot make a file larger than that: a write beyond it fails (its signal is ignored), as on a
# full disk.
function(add_wine_test name)
  cmake_parse_arguments(T "GUI;GBK" "TIMEOUT;FILE_SIZE_LIMIT" "SOURCES;LIBS;DEPENDS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE GTest::gmock GTest::gtest_main ${T_LIBS})
  if(T_GUI)
    target_link_libraries(${name} PRIVATE test_support)
  endif()
  if(T_GBK)
    use_gbk_literals(${name})
  endif()
  if(T_DEPENDS)
    add_dependencies(${name} ${T_DEPENDS})
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  if(T_FILE_SIZE_LIMIT)
    add_test(NAME ${name} COMMAND sh -c "trap '' XFSZ && exec prlimit --fsize=$0:$0 \"$@\"" ${T_FILE_SIZE_LIMIT}
                                  ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED WINE TIMEOUT ${T_TIMEOUT})
  if(T_GUI)
    # Windows of two GUI tests on the one display would cover each other's pixels and pointer: they take turns.
    set_property(TEST ${name} APPEND PROPERTY RESOURCE_LOCK display)
  endif()
endfunction()

# Host-side checks of the build output: the shipped programs of this build, and those of the other
# architecture when the test command built them too (NIGHTCAP_OTHER_ARCH_BIN), neither run.
function(add_program_check name machine bin)
  add_test(NAME ${name} COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tools/check-programs.py
    --machine ${machine} --version ${NIGHTCAP_FILE_VERSION_TEXT}
    ${bin}/Nightcap.exe ${bin}/Update.exe ${bin}/Uninstall.exe ${bin}/XLUE.dll
    ${bin}/Setup.exe=1.0.0.1 ${bin}/SetupFull.exe=1.0.0.1)
  set_tests_properties(${name} PROPERTIES LABELS native)
endfunction()
if(NIGHTCAP_ARCH STREQUAL x86_64)
  add_program_check(shipped_programs_x86_64 amd64 ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
  set(other_arch i686 i386)
else()
  add_program_check(shipped_programs_i686 i386 ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
  set(other_arch x86_64 amd64)
endif()
set(NIGHTCAP_OTHER_ARCH_BIN "" CACHE PATH "bin folder of the other architecture's build, checked without running")
if(NIGHTCAP_OTHER_ARCH_BIN)
  list(GET other_arch 0 other_name)
  list(GET other_arch 1 other_machine)
  add_program_check(shipped_programs_${other_name} ${other_machine} ${NIGHTCAP_OTHER_ARCH_BIN})
endif()
add_test(NAME shipped_config_ini_bytes
  COMMAND sh -c "printf '[Product]\\r\\n\\nname=Nightcap\\r\\n\\n[set]\\r\\ntime=0\\r\\nhour=12\\r\\nmin=30\\r\\n' | cmp - ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/config.ini")
# Needs no Wine either.
set_tests_properties(shipped_config_ini_bytes PROPERTIES LABELS native)
