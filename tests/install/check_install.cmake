# Installs the build tree BUILD into DIR/prefix, an empty directory, and checks that an
# analysis program builds and runs against what is there alone:
# - the prefix holds the library (libKvr7dbio.so, its soname and its full version), the
#   header, the Fortran module (source and compiled, when FC names a Fortran compiler),
#   the pkg-config file and the CMake package, and nothing else;
# - the example host (SOURCE/examples/kvr7_demo.c) compiled by CC with the flags of
#   "pkg-config --cflags --libs kvr7dbio" runs as check_demo.cmake wants it;
# - the CMake project consumer/ builds the same host with find_package(Kvr7dbio) and
#   Kvr7dbio::Kvr7dbio, and it runs the same;
# - the Fortran PLATE host (SOURCE/tests/hosts/plate_host.f90, "use kvr7dbio") compiled
#   by FC with -I and -L at the prefix writes its model with every status 0, its files as
#   check_plate_files.cmake wants them.
# FLAGS are given to every compile and link (the sanitizer options of a sanitizer build,
# whose library needs their runtime in the program).
cmake_policy(VERSION 3.25)
foreach(var BUILD DIR SOURCE CC LIBDIR INCLUDEDIR VERSION SOVERSION GENERATOR)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "check_install.cmake needs -D${var}=...")
  endif()
endforeach()
separate_arguments(flags UNIX_COMMAND "${FLAGS}")

file(REMOVE_RECURSE "${DIR}")
file(MAKE_DIRECTORY "${DIR}/prefix")
set(prefix "${DIR}/prefix")
set(libdir "${prefix}/${LIBDIR}")
set(includedir "${prefix}/${INCLUDEDIR}")

# Runs the command given, ending the check with its output when it fails.
function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE output
                  ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what}: status ${status}\n${ARGN}\n${output}${errors}")
  endif()
  set(output "${output}" PARENT_SCOPE)
endfunction()

run("install" ${CMAKE_COMMAND} --install "${BUILD}" --prefix "${prefix}")

# ---- What is installed ------------------------------------------------------------------
set(expected
  ${LIBDIR}/libKvr7dbio.so
  ${LIBDIR}/libKvr7dbio.so.${SOVERSION}
  ${LIBDIR}/libKvr7dbio.so.${VERSION}
  ${INCLUDEDIR}/kvr7dbio.h
  ${LIBDIR}/pkgconfig/kvr7dbio.pc
  ${LIBDIR}/cmake/Kvr7dbio/Kvr7dbioConfig.cmake
  ${LIBDIR}/cmake/Kvr7dbio/Kvr7dbioConfigVersion.cmake
  ${LIBDIR}/cmake/Kvr7dbio/Kvr7dbioTargets.cmake)
if(FC)
  list(APPEND expected ${INCLUDEDIR}/kvr7dbio.f90 ${INCLUDEDIR}/kvr7dbio.mod)
endif()
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE "${prefix}" "${prefix}/*")
set(faults "")
foreach(file ${expected})
  if(NOT file IN_LIST installed)
    string(APPEND faults "  missing: ${file}\n")
  endif()
endforeach()
foreach(file ${installed})
  # The targets of each build type beside the package's target file.
  if(NOT file IN_LIST expected
     AND NOT file MATCHES "^${LIBDIR}/cmake/Kvr7dbio/Kvr7dbioTargets-[a-z]+\\.cmake$")
    string(APPEND faults "  not ours to install: ${file}\n")
  endif()
endforeach()
if(faults)
  message(FATAL_ERROR "the prefix does not hold what it should:\n${faults}")
endif()
foreach(link libKvr7dbio.so libKvr7dbio.so.${SOVERSION})
  if(NOT IS_SYMLINK "${libdir}/${link}")
    message(FATAL_ERROR "${link} is not a symbolic link")
  endif()
endforeach()
find_program(READELF readelf)
if(READELF)
  run("readelf" ${READELF} -d "${libdir}/libKvr7dbio.so.${VERSION}")
  if(NOT output MATCHES "\\(SONAME\\)[^\n]*\\[libKvr7dbio\\.so\\.${SOVERSION}\\]")
    message(FATAL_ERROR "the soname is not libKvr7dbio.so.${SOVERSION}:\n${output}")
  endif()
endif()

# Programs built against the prefix find the library there when they run.
set(ENV{LD_LIBRARY_PATH} "${libdir}")

# ---- A C host through pkg-config ----------------------------------------------------------
find_program(PKG_CONFIG NAMES pkg-config pkgconf)
if(NOT PKG_CONFIG)
  message(FATAL_ERROR "no pkg-config: the C host through pkg-config cannot be built")
endif()
set(ENV{PKG_CONFIG_PATH} "${libdir}/pkgconfig")
run("pkg-config" ${PKG_CONFIG} --cflags --libs kvr7dbio)
string(STRIP "${output}" pc_output)
separate_arguments(pc_flags UNIX_COMMAND "${pc_output}")
file(MAKE_DIRECTORY "${DIR}/pkg-config")
run("compiling the example with pkg-config" ${CC} "${SOURCE}/examples/kvr7_demo.c"
    ${pc_flags} ${flags} -o "${DIR}/pkg-config/kvr7-demo")
run("the example built with pkg-config" ${CMAKE_COMMAND} "-DDEMO=${DIR}/pkg-config/kvr7-demo"
    "-DDIR=${DIR}/pkg-config/run" -P "${SOURCE}/examples/check_demo.cmake")
message("pkg-config: ${pc_output}: the example built and ran")

# ---- A CMake project through find_package ---------------------------------------------------
run("configuring the CMake project" ${CMAKE_COMMAND} -S "${CMAKE_CURRENT_LIST_DIR}/consumer"
    -B "${DIR}/cmake" -G "${GENERATOR}" "-DCMAKE_C_COMPILER=${CC}" "-DCMAKE_PREFIX_PATH=${prefix}"
    "-DCMAKE_C_FLAGS=${FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${FLAGS}" "-DKVR_VERSION=${VERSION}"
    "-DKVR_DEMO_SOURCE=${SOURCE}/examples/kvr7_demo.c")
run("building the CMake project" ${CMAKE_COMMAND} --build "${DIR}/cmake")
run("the example built with find_package" ${CMAKE_COMMAND} "-DDEMO=${DIR}/cmake/kvr7-demo"
    "-DDIR=${DIR}/cmake/run" -P "${SOURCE}/examples/check_demo.cmake")
message("find_package(Kvr7dbio ${VERSION}): the example built and ran")

# ---- A Fortran host through the module ------------------------------------------------------
if(FC)
  file(MAKE_DIRECTORY "${DIR}/fortran")
  run("compiling the Fortran host" ${FC} "-I${includedir}" "${SOURCE}/tests/hosts/plate_host.f90"
      "-L${libdir}" -lKvr7dbio ${flags} -o "${DIR}/fortran/plate_host")
  run("the Fortran host" ${CMAKE_COMMAND} "-DHOST=${DIR}/fortran/plate_host"
      "-DDIR=${DIR}/fortran/run" "-DGOLDEN=${SOURCE}/tests/hosts/plate.neu"
      -P "${SOURCE}/tests/hosts/check_plate_files.cmake")
  message("use kvr7dbio: the Fortran host built and ran")
endif()
