# Warnings are errors in every build; sanitizers for the native test build.
function(kb_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
    -Wconversion -Wno-sign-conversion -Werror)
endfunction()

if(KB_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(KB_FUZZ)
  # Instrument the code under test as well as the fuzz targets.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
  # Lean Windows headers without min/max macros, for Windows XP and later.
  # Without UNICODE, the plain names are the ANSI entry points; the Unicode
  # ones are called by their W names where a text needs them.
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501)
  # Stack protection. Its guard and failure handler are our own
  # (common/win32_stack_guard.c), linked into every program before libssp.
  add_compile_options(-fstack-protector-strong)
  add_link_options(-fstack-protector-strong)
  add_library(kb_stack_guard STATIC ${CMAKE_CURRENT_LIST_DIR}/../common/win32_stack_guard.c)
  set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/../common/win32_stack_guard.c
    PROPERTIES COMPILE_OPTIONS -fno-stack-protector)
  target_link_libraries(kb_stack_guard PUBLIC advapi32)
  kb_set_warnings(kb_stack_guard)
  link_libraries(kb_stack_guard)
endif()
