# A resource script for one Windows program: its version information (made
# from the project version) and any further resource lines; returns its path
# in `out`.
function(kb_version_resource out name description)
  set(KB_ORIGINAL_NAME ${name})
  set(KB_FILE_DESCRIPTION ${description})
  set(KB_MORE_RESOURCES "${ARGN}")
  set(_kb_rc ${CMAKE_CURRENT_BINARY_DIR}/${name}.version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${_kb_rc} @ONLY)
  set(${out} ${_kb_rc} PARENT_SCOPE)
endfunction()
