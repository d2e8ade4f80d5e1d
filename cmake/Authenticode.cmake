# Authenticode: with a maker's code-signing certificate and key given, every shipped program is signed
# right after it is linked (so the payload carries signed programs) and SetupFull.exe once its payload is
# appended (tools/authenticode.sh). Without them the programs stay unsigned.
#   -DNIGHTCAP_AUTHENTICODE_CERT=/secure/codesign-chain.pem   the certificate and its chain, PEM
#   -DNIGHTCAP_AUTHENTICODE_KEY=/secure/codesign.key          its private key, PEM
#   -DNIGHTCAP_AUTHENTICODE_PASSFILE=/secure/codesign.pass    the key's password, when it has one
set(NIGHTCAP_AUTHENTICODE_CERT "" CACHE FILEPATH "code-signing certificate chain (PEM) for the shipped programs")
set(NIGHTCAP_AUTHENTICODE_KEY "" CACHE FILEPATH "private key (PEM) of the code-signing certificate")
set(NIGHTCAP_AUTHENTICODE_PASSFILE "" CACHE FILEPATH "file holding the code-signing key's password, if any")
set(AUTHENTICODE_SCRIPT ${CMAKE_SOURCE_DIR}/tools/authenticode.sh)

if(NIGHTCAP_AUTHENTICODE_CERT OR NIGHTCAP_AUTHENTICODE_KEY)
  foreach(setting NIGHTCAP_AUTHENTICODE_CERT NIGHTCAP_AUTHENTICODE_KEY)
    if(NOT EXISTS "${${setting}}")
      message(FATAL_ERROR "${setting}: \"${${setting}}\" is no file; give both the certificate and its key")
    endif()
  endforeach()
  find_program(OSSLSIGNCODE osslsigncode REQUIRED)
  set(NIGHTCAP_AUTHENTICODE ON)
else()
  set(NIGHTCAP_AUTHENTICODE OFF)
endif()
if(NIGHTCAP_AUTHENTICODE_PASSFILE)
  set(authenticode_passfile ${NIGHTCAP_AUTHENTICODE_PASSFILE})
else()
  set(authenticode_passfile -)
endif()
set(AUTHENTICODE_ARGS ${NIGHTCAP_AUTHENTICODE_CERT} ${NIGHTCAP_AUTHENTICODE_KEY} ${authenticode_passfile})

# Signs the target's file after every link, when the build signs. Call it in the target's own folder.
function(authenticode_sign_after_link target)
  if(NIGHTCAP_AUTHENTICODE)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND sh ${AUTHENTICODE_SCRIPT} sign ${AUTHENTICODE_ARGS} $<TARGET_FILE:${target}>
      VERBATIM)
  endif()
endfunction()
