# Run by CPack once the programs are in its staging folder and before it packs
# them: each is signed there (scripts/sign-pe does nothing without a key), so
# that the zip and the installer hold the signed programs.
foreach(program Kolvane_Brightrun.scr Kolvane_Brightrun.data)
  execute_process(COMMAND "${CPACK_KB_SIGN_PE}" "${CPACK_TEMPORARY_DIRECTORY}/${program}" ${program}
    RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "signing ${program} failed")
  endif()
endforeach()
