# Runs a PLATE host (plate_host.c or plate_host.f90) in the empty directory DIR, made
# anew for every run, and checks the files it leaves there:
# - plate.neu equals GOLDEN (plate.neu beside this script) byte for byte, so the C and the
#   Fortran host leave the same file. Its lines, in number format 0 (I5, E12.5), one
#   block per dataset of the first session, each ended by " -3":
#     "    1CPLATE ... 0"     the model header (key 1, "C" create, the first six characters
#                             of the name, the number format in columns 74-75), followed
#                             by the header of the dataset on its unit, key 2, and the
#                             9 node lines: tag -1, node, X Y Z, system 0;
#     "    3C ..."            the 4 QU4 elements: tag -1, element, type 9, IEATT1 1,
#                             IEATT2 1, system 0, 0; then their 4 nodes on a "-2" line;
#     "   18C ..."            the node set: "-1FIXED" and its title, the members 1 2 3;
#     "   41C ..."            the constraints of nodes 1 to 3 (9: every direction);
#     "  100CLOAD1  0.10000E+01 ... Plate load  0    1"
#                             the nodal results: the attribute line (-4, DISPL, 3
#                             components, IRTYPE 1, no variants), the components DX, DY,
#                             DZ (-5, in menu, CTYPE 2, INDEX1 1 to 3), a value line a
#                             node;
#     "  100CLOAD1 ..."       the element results: STRESS with IRTYPE 3 and SX, SY, SXY
#                             (CTYPE 3), then per element its header line (-1, element,
#                             type 9, IEATT1 1, IVAR 0, NPOINT 4, NLAYER 1, then 0 for
#                             ILOCAL) and one "-2" value line at each of its nodes;
#     " 9999"                 the last line, written by dll_distp.
#   The second session (LUOPT 1) writes no neutral text.
# - PLATE.M71 and PLATE.V71 exist;
# - plate.msg holds the create line of the model and no error line (" DI" and a digit);
# - plate.log holds the mesh line.
foreach(var HOST DIR GOLDEN)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "check_plate_files.cmake needs -D${var}=...")
  endif()
endforeach()

file(REMOVE_RECURSE "${DIR}")
file(MAKE_DIRECTORY "${DIR}")
execute_process(COMMAND "${HOST}" WORKING_DIRECTORY "${DIR}" RESULT_VARIABLE status
                OUTPUT_VARIABLE output ERROR_VARIABLE output)
message("${output}")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the host ended with status ${status}")
endif()

set(failures "")

execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${DIR}/plate.neu" "${GOLDEN}"
                RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
  list(APPEND failures "plate.neu differs from ${GOLDEN}")
endif()
file(READ "${DIR}/plate.neu" neutral)
string(LENGTH "${neutral}" size)
if(size LESS 7)
  list(APPEND failures "plate.neu is too short")
else()
  math(EXPR from "${size} - 7")
  string(SUBSTRING "${neutral}" ${from} 7 tail)
  if(NOT tail STREQUAL "\n 9999\n")
    list(APPEND failures "the last line of plate.neu is not \" 9999\"")
  endif()
endif()

foreach(name PLATE.M71 PLATE.V71)
  if(NOT EXISTS "${DIR}/${name}")
    list(APPEND failures "${name} is missing")
  endif()
endforeach()

# Whole lines are looked for with a line end on each side.
file(READ "${DIR}/plate.msg" messages)
set(messages "\n${messages}")
set(created " DI    : DIHED2: MODEL OPENED TO CREATE                             : (PLATE               )")
string(FIND "${messages}" "\n${created}\n" at)
if(at EQUAL -1)
  list(APPEND failures "plate.msg lacks the line \"${created}\"")
endif()
if(messages MATCHES "\n DI[0-9][^\n]*")
  list(APPEND failures "plate.msg holds an error line: \"${CMAKE_MATCH_0}\"")
endif()

file(READ "${DIR}/plate.log" log)
string(FIND "\n${log}" "\n PROCESSING MESH DATA\n" at)
if(at EQUAL -1)
  list(APPEND failures "plate.log lacks the line \" PROCESSING MESH DATA\"")
endif()

if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "in ${DIR}:\n  ${text}")
endif()
message("the files of ${DIR} are as expected")
