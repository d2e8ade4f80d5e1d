# Test executables are built with mingw and run by ctest through Wine, in a private prefix inside the
# build tree that is created once and reused, with a persistent wineserver started by the WINE fixture.
enable_testing()
set(WINE_PREFIX_DIR ${CMAKE_BINARY_DIR}/wineprefix)
set(WINE_ENV WINEPREFIX=${WINE_PREFIX_DIR} WINEARCH=win32 WINEDEBUG=-all
             "WINEDLLOVERRIDES=mscoree,mshtml=" LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8)
set(CMAKE_CROSSCOMPILING_EMULATOR env ${WINE_ENV} /usr/bin/wine)

add_test(NAME wine_up COMMAND sh ${CMAKE_SOURCE_DIR}/tools/wine-up.sh)
add_test(NAME wine_down COMMAND sh -c "wineserver -k || true")
set_tests_properties(wine_up wine_down PROPERTIES ENVIRONMENT "${WINE_ENV}")
set_tests_properties(wine_up PROPERTIES FIXTURES_SETUP WINE)
set_tests_properties(wine_down PROPERTIES FIXTURES_CLEANUP WINE)

if(NOT TARGET gtest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/_gtest EXCLUDE_FROM_ALL SYSTEM)
endif()

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

# Host-side checks of the build output.
add_test(NAME deliverables_import_only_system_dlls
  COMMAND sh ${CMAKE_SOURCE_DIR}/tools/check-imports.sh
    $<TARGET_FILE:Nightcap> $<TARGET_FILE:Setup> $<TARGET_FILE:Update> $<TARGET_FILE:Uninstall> $<TARGET_FILE:XLUE>)
add_test(NAME shipped_config_ini_bytes
  COMMAND sh -c "printf '[Product]\\r\\n\\nname=Nightcap\\r\\n\\n[set]\\r\\ntime=0\\r\\nhour=12\\r\\nmin=30\\r\\n' | cmp - ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/config.ini")
# Neither needs Wine: they run on every machine (tools/run-tests.sh).
set_tests_properties(deliverables_import_only_system_dlls shipped_config_ini_bytes PROPERTIES LABELS native)
