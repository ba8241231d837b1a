# The release: a zip of the two programs, ready to unpack on Windows.
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_NAME Kolvane_Brightrun)
  set(CPACK_PACKAGE_FILE_NAME "Kolvane_Brightrun-${PROJECT_VERSION}-${CMAKE_SYSTEM_PROCESSOR}")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  include(CPack)
endif()
