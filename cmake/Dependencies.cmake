# libjpeg: Debian's package natively, a cached static cross build for Windows.
if(WIN32)
  set(_kb_jpeg "${KB_DEPS_DIR}/libjpeg-simd-${KB_TRIPLET}")
  if(NOT EXISTS "${_kb_jpeg}/lib/libjpeg.a")
    execute_process(
      COMMAND "${CMAKE_SOURCE_DIR}/scripts/build-libjpeg" ${KB_TRIPLET} "${KB_DEPS_DIR}"
      RESULT_VARIABLE _kb_rc)
    if(NOT _kb_rc EQUAL 0)
      message(FATAL_ERROR "building libjpeg for ${KB_TRIPLET} failed")
    endif()
  endif()
  add_library(kb_jpeg STATIC IMPORTED GLOBAL)
  set_target_properties(kb_jpeg PROPERTIES
    IMPORTED_LOCATION "${_kb_jpeg}/lib/libjpeg.a"
    INTERFACE_INCLUDE_DIRECTORIES "${_kb_jpeg}/include")

  # GoogleTest for the Windows test programs, built once per build tree.
  if(BUILD_TESTING)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
  endif()

  # kb_gl, the system folder's OpenGL, is renderer/win32_gl_functions.cpp.
else()
  find_package(JPEG REQUIRED)
  add_library(kb_jpeg INTERFACE)
  target_link_libraries(kb_jpeg INTERFACE JPEG::JPEG)
  if(BUILD_TESTING)
    find_package(GTest REQUIRED)
  endif()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(OSMESA REQUIRED IMPORTED_TARGET osmesa glu)
  # Native GL is OSMesa: an off-screen context for the scene's tests.
  add_library(kb_gl INTERFACE)
  target_link_libraries(kb_gl INTERFACE PkgConfig::OSMESA)
endif()
