# Runs the create-then-appends flow with the Fortran host sessions_host.f90 in the empty
# directory DIR, made anew for every run, each session a process of its own: the model
# FAPPENDS created with load case LC1, then LC2, LC3 and LC4 appended, one run each. After
# the create, the reader of sessions_host.c (READER) marks the date of the first load case
# in the model record; after the appends it checks the files: the four load cases listed
# in order, each with its values, record 103 word 15 = 4, and the marked date kept. Every
# run must end with status 0 (the Fortran host: every IERR and IOSTAT 0).
foreach(var HOST READER DIR)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "run_sessions_f.cmake needs -D${var}=...")
  endif()
endforeach()

file(REMOVE_RECURSE "${DIR}")
file(MAKE_DIRECTORY "${DIR}")

function(run)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY "${DIR}" RESULT_VARIABLE status
                  OUTPUT_VARIABLE output ERROR_VARIABLE output)
  message("${output}")
  if(NOT status EQUAL 0)
    string(REPLACE ";" " " command "${ARGN}")
    message(FATAL_ERROR "\"${command}\" ended with status ${status}")
  endif()
endfunction()

run("${HOST}" create FAPPENDS LC1)
run("${READER}" mark FAPPENDS)
foreach(load_case LC2 LC3 LC4)
  run("${HOST}" append FAPPENDS ${load_case})
endforeach()
run("${READER}" check FAPPENDS LC1/LC2/LC3/LC4)
