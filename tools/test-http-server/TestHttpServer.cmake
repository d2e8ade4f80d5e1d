# The suite's loopback HTTP server (see README.md beside this file), for any test folder:
#   include(${CMAKE_SOURCE_DIR}/tools/test-http-server/TestHttpServer.cmake)
#   add_wine_test(my_test SOURCES ... LIBS test_http_client)
#   uses_test_http_server(my_test)
# The server is a Linux program: the native tree builds it, and the Windows build takes it from its nested
# native tree (server/CMakeLists.txt); the fixture HTTP_SERVER starts it before the tests that use it and stops
# it after them.
include_guard(GLOBAL)

set(TEST_HTTP_SERVER_DIR ${CMAKE_CURRENT_LIST_DIR})
if(NOT WIN32)
  find_package(PkgConfig REQUIRED)
  find_package(Threads REQUIRED)
  if(NOT TARGET PkgConfig::HTTPLIB)
    pkg_check_modules(HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
  endif()
  add_executable(test-http-server ${TEST_HTTP_SERVER_DIR}/TestHttpServer.cpp)
  target_link_libraries(test-http-server PRIVATE PkgConfig::HTTPLIB Threads::Threads)
  return()
endif()
set(TEST_HTTP_SERVER_BIN ${CMAKE_BINARY_DIR}/native/bin/test-http-server)
set(TEST_HTTP_SERVER_STATE ${CMAKE_BINARY_DIR}/test-http-server)
add_custom_target(test_http_server)
add_dependencies(test_http_server server_native)

add_test(NAME http_server_up
         COMMAND sh ${TEST_HTTP_SERVER_DIR}/serve.sh start ${TEST_HTTP_SERVER_BIN} ${TEST_HTTP_SERVER_STATE})
add_test(NAME http_server_down COMMAND sh ${TEST_HTTP_SERVER_DIR}/serve.sh stop ${TEST_HTTP_SERVER_STATE})
set_tests_properties(http_server_up PROPERTIES FIXTURES_SETUP HTTP_SERVER)
set_tests_properties(http_server_down PROPERTIES FIXTURES_CLEANUP HTTP_SERVER)

# The Windows side: LoopbackServer finds the port through Wine's Z: drive.
add_library(test_http_client STATIC ${TEST_HTTP_SERVER_DIR}/LoopbackServer.cpp)
target_compile_definitions(test_http_client PRIVATE TEST_HTTP_SERVER_PORT_FILE="Z:${TEST_HTTP_SERVER_STATE}/port")
target_link_libraries(test_http_client PUBLIC ws2_32)
add_dependencies(test_http_client test_http_server)

# A Wine test that talks to the server: it needs both fixtures.
function(uses_test_http_server test)
  set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED "WINE;HTTP_SERVER")
endfunction()
