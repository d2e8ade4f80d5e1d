# The product version is one build setting. "1.002" is the text Nightcap's version check compares; the file
# version of the shipped programs follows from it: major, then each digit of the three-digit minor
# (1.002 -> 1,0,0,2 and "1.0.0.2").
set(NIGHTCAP_VERSION "1.002" CACHE STRING "Product version as major.minor with a three-digit minor, such as 1.002")

include(${CMAKE_CURRENT_LIST_DIR}/ProductVersionHeader.cmake)
# The file version as text (1.0.0.2), for the checks of the build output.
string(REGEX REPLACE "^([0-9]+)\\.([0-9])([0-9])([0-9])$" "\\1.\\2.\\3.\\4" NIGHTCAP_FILE_VERSION_TEXT "${NIGHTCAP_VERSION}")
# The version resource the programs' scripts include, and the header it reads: windres does not report
# included files as dependencies.
set(NC_VERSION_RC ${CMAKE_SOURCE_DIR}/assets/VersionInfo.rc
    ${CMAKE_BINARY_DIR}/product-version/${NIGHTCAP_VERSION}/ProductVersion.h)

# add_product_version_library(<target> <version>): an INTERFACE library whose include folder holds the
# ProductVersion.h of that version, for the resource scripts of the targets linking it; and <target>_text, the
# version text kProductVersion (common/ProductVersionText.h) as an object of its own. The libraries that read
# the text link the build's version; a program of another version links its own <target>_text as well, and
# the linker then takes no copy of the text from a library.
function(add_product_version_library target version)
  set(folder ${CMAKE_BINARY_DIR}/product-version/${version})
  make_product_version_header(${version} ${folder})
  add_library(${target} INTERFACE)
  target_include_directories(${target} INTERFACE ${folder})
  add_library(${target}_text OBJECT ${CMAKE_SOURCE_DIR}/common/ProductVersionText.cpp)
  target_link_libraries(${target}_text PRIVATE ${target})
endfunction()

add_product_version_library(product_version ${NIGHTCAP_VERSION})
