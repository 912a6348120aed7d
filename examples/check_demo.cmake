# Runs the example DEMO in the empty directory DIR, made anew for every run: first with no
# argument (its files go to DIR/kvr7-demo/), then once more into the same directory given
# as its argument, over the files of the first run. Each run must exit 0 and print the
# absolute paths of DEMO.M71, DEMO.V71, demo.neu, demo.msg and demo.log, one a line,
# each an existing file; the neutral file must end with " 9999". Last, a run into a
# directory where DEMO.M71 cannot be replaced must exit 1, naming the refusing export
# and its code.
foreach(var DEMO DIR)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "check_demo.cmake needs -D${var}=...")
  endif()
endforeach()

file(REMOVE_RECURSE "${DIR}")
file(MAKE_DIRECTORY "${DIR}")
file(REAL_PATH "${DIR}" top)
set(files DEMO.M71 DEMO.V71 demo.neu demo.msg demo.log)

# Runs DEMO in DIR with the arguments given, expecting every file in DIR/kvr7-demo.
function(run_demo what)
  execute_process(COMMAND "${DEMO}" ${ARGN} WORKING_DIRECTORY "${DIR}" RESULT_VARIABLE status
                  OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what}: status ${status}\n${output}${errors}")
  endif()
  set(expected "")
  foreach(name ${files})
    string(APPEND expected "${top}/kvr7-demo/${name}\n")
  endforeach()
  if(NOT output STREQUAL expected)
    message(FATAL_ERROR "${what}: printed\n${output}instead of\n${expected}")
  endif()
  foreach(name ${files})
    if(NOT EXISTS "${top}/kvr7-demo/${name}" OR IS_DIRECTORY "${top}/kvr7-demo/${name}")
      message(FATAL_ERROR "${what}: ${name} was not written")
    endif()
  endforeach()
  file(READ "${top}/kvr7-demo/demo.neu" neutral)
  if(NOT neutral MATCHES "\n 9999\n$")
    message(FATAL_ERROR "${what}: demo.neu does not end with \" 9999\"")
  endif()
  message("${what}: exit 0, files\n${output}")
endfunction()

run_demo("first run, no argument")
run_demo("second run into the same directory" "kvr7-demo")

# DEMO.M71 a directory that cannot be removed: the create of the database is refused.
file(MAKE_DIRECTORY "${top}/blocked/DEMO.M71/kept")
execute_process(COMMAND "${DEMO}" "${top}/blocked" WORKING_DIRECTORY "${DIR}"
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 1 OR NOT errors MATCHES "dll_[a-z0-9]+ answered IERR [0-9]+")
  message(FATAL_ERROR "a refused create: status ${status}\n${output}${errors}")
endif()
message("a refused create: exit 1, ${errors}")
