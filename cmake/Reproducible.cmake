# The Windows builds give the same bytes wherever and whenever they are
# made: no path of the build machine (the source and libjpeg folders, which
# a __FILE__ would spell, are mapped to fixed names; the build folder's name
# is never compiled in) and, for the two shipped programs, no debug sections
# (which hold the paths of every object, the runtime libraries' included)
# and a PE time stamp of 0 instead of the clock (Windows reads it only as
# information).
if(WIN32)
  add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=src
    -ffile-prefix-map=${KB_DEPS_DIR}=deps)
endif()

# Strips a shipped program and fixes its time stamp.
function(kb_shipped_program target)
  if(WIN32)
    target_link_options(${target} PRIVATE -s -Wl,--no-insert-timestamp)
  endif()
endfunction()
