# The other spellings of one folder for the single-instance tests on Windows
# itself (under Wine the shell script beside this file makes them):
#
#   cmake -DACTION=setup -DDIR=folder -P instance_spellings.cmake
#       DIR/real, DIR/link (a directory symbolic link to it) and a drive
#       letter made with subst for DIR/real, named in DIR/drive
#   cmake -DACTION=cleanup -DDIR=folder -P instance_spellings.cmake
#       takes them away again
if(NOT DEFINED DIR OR NOT DEFINED ACTION)
  message(FATAL_ERROR "usage: cmake -DACTION=setup|cleanup -DDIR=folder -P instance_spellings.cmake")
endif()

function(unmap)
  if(EXISTS "${DIR}/drive")
    file(READ "${DIR}/drive" letter)
    string(STRIP "${letter}" letter)
    execute_process(COMMAND subst ${letter} /D OUTPUT_QUIET ERROR_QUIET)
  endif()
endfunction()

if(ACTION STREQUAL "setup")
  unmap()
  file(REMOVE_RECURSE "${DIR}")
  file(MAKE_DIRECTORY "${DIR}/real")
  file(TOUCH "${DIR}/real/instance-spellings")
  file(CREATE_LINK "${DIR}/real" "${DIR}/link" SYMBOLIC)
  file(TO_NATIVE_PATH "${DIR}/real" real)
  foreach(letter V W X U T S R Q P O N M)
    if(NOT EXISTS "${letter}:/")
      execute_process(COMMAND subst ${letter}: "${real}" RESULT_VARIABLE failed)
      if(NOT failed)
        file(WRITE "${DIR}/drive" "${letter}:")
        break()
      endif()
    endif()
  endforeach()
elseif(ACTION STREQUAL "cleanup")
  unmap()
  file(REMOVE_RECURSE "${DIR}")
else()
  message(FATAL_ERROR "instance_spellings: unknown action ${ACTION}")
endif()
