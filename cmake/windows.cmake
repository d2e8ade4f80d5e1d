# Settings shared by every Windows target.
add_compile_definitions(NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-Wall>)

# Nightcap keeps its texts in GBK: its narrow literals are encoded to code page 936.
function(use_gbk_literals target)
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-finput-charset=UTF-8 -fexec-charset=GBK>)
endfunction()

# A wide-character GUI program (wWinMain).
function(use_unicode_entry target)
  target_compile_definitions(${target} PRIVATE UNICODE _UNICODE)
  target_compile_options(${target} PRIVATE -municode)
  target_link_options(${target} PRIVATE -municode)
endfunction()
