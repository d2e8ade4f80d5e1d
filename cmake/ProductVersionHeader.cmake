# The file version follows from the product version text: major, then each digit of the three-digit minor.
# Usable from a project and from a cmake -P script.
set(NC_VERSION_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/ProductVersion.h.in)

# make_product_version_header(<version> <folder>): writes <folder>/ProductVersion.h for that version.
function(make_product_version_header version folder)
  if(NOT version MATCHES "^([0-9]+)\\.([0-9])([0-9])([0-9])$")
    message(FATAL_ERROR "Product version \"${version}\" is not major.minor with a three-digit minor (such as 1.002)")
  endif()
  set(NIGHTCAP_VERSION_TEXT "${version}")
  set(NIGHTCAP_FILE_VERSION "${CMAKE_MATCH_1},${CMAKE_MATCH_2},${CMAKE_MATCH_3},${CMAKE_MATCH_4}")
  set(NIGHTCAP_FILE_VERSION_TEXT "${CMAKE_MATCH_1}.${CMAKE_MATCH_2}.${CMAKE_MATCH_3}.${CMAKE_MATCH_4}")
  configure_file(${NC_VERSION_TEMPLATE} ${folder}/ProductVersion.h @ONLY)
endfunction()
