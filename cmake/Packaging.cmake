# The release of a Windows build: a zip and a per-user NSIS installer, both
# holding the two programs side by side and the read-me for Windows users.
# scripts/release makes it (and signs it when given a key); by hand:
#   cd build/win32 && cpack       (the zip and the installer)
if(WIN32)
  install(TARGETS Kolvane_Brightrun.scr Kolvane_Brightrun.data RUNTIME DESTINATION .)
  # packaging/README.txt is UTF-8 with a byte order mark and CRLF line ends
  # (see .gitattributes), so that Notepad reads it on every Windows language.
  install(FILES packaging/README.txt DESTINATION .)

  set(CPACK_GENERATOR ZIP NSIS)
  set(CPACK_PACKAGE_NAME Kolvane_Brightrun)
  set(CPACK_PACKAGE_VENDOR Kolvane_Brightrun)
  set(CPACK_PACKAGE_FILE_NAME ${KB_RELEASE_NAME})
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  # Our own NSIS script (packaging/NSIS.template.in): per user, no
  # administrator rights, and the screensaver setting made and given back.
  set(CPACK_MODULE_PATH "${PROJECT_SOURCE_DIR}/packaging")
  set(CPACK_NSIS_EXECUTABLE makensis)
  # No user's or system's nsisconf.nsh: nothing of the machine goes into the installer.
  set(CPACK_NSIS_EXECUTABLE_PRE_ARGUMENTS -NOCONFIG)
  # The programs, the installer and its uninstaller are signed as they are
  # made (packaging/NSIS.template.in); without a key the step does nothing.
  set(CPACK_KB_SIGN_PE "${PROJECT_SOURCE_DIR}/scripts/sign-pe")
  set(CPACK_PRE_BUILD_SCRIPTS "${PROJECT_SOURCE_DIR}/cmake/SignStaged.cmake")
  include(CPack)
endif()
