# The places in the build tree that more than one folder reads: set here, before any folder, so that no folder
# hands a value to another.

# Generated art: the programs' icon and Nightcap's skin (assets/), read by the resource scripts.
set(NC_ART_DIR ${CMAKE_BINARY_DIR}/art)
set(NC_SKIN_FILES background.bmp tab-clock.png tab-countdown.png time-panel.png frame-selected.png
    frame-plain.png execute-idle.png execute-armed.png close.png minimise.png knob.png knob-pressed.png
    track.png fill-start.png fill-bar.png)
list(TRANSFORM NC_SKIN_FILES PREPEND ${NC_ART_DIR}/skin/)
# The updater's UI package.
set(UPDATE_PACKAGE ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/View.xar)
# The staged payload files and payload.7z of SetupFull.exe (setup/payload/), and the payload's files as
# NAME=SOURCE.
set(PAYLOAD_DIR ${CMAKE_BINARY_DIR}/payload)
set(PAYLOAD_FILES
  config.ini=${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/config.ini
  Nightcap.exe=$<TARGET_FILE:Nightcap>
  Uninstall.exe=$<TARGET_FILE:Uninstall>
  update/Update.exe=$<TARGET_FILE:Update>
  update/copy.bat=${CMAKE_SOURCE_DIR}/assets/update/copy.bat
  update/View.xar=${UPDATE_PACKAGE}
  update/XLUE.dll=$<TARGET_FILE:XLUE>)
# The tests' release key pair (tests/update/), whose private key signs the releases of the tests.
set(RELEASE_TEST_KEY_DIR ${CMAKE_BINARY_DIR}/release-test-key)
set(RELEASE_TEST_KEY ${RELEASE_TEST_KEY_DIR}/release.key)
