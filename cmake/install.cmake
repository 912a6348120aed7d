# What an analysis program needs to build against the library, and its install rules:
# the shared library, the C header, the Fortran module (source and compiled, where a
# Fortran compiler is present), a pkg-config file and a CMake package with the target
# Kvr7dbio::Kvr7dbio. Nothing of the tests, benchmarks or the internal archive is
# installed. `cmake --install build/default --prefix PREFIX` puts them under PREFIX.
include(CMakePackageConfigHelpers)

set(KVR_CMAKE_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Kvr7dbio)

install(TARGETS Kvr7dbio EXPORT Kvr7dbioTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/kvr7dbio.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

# The Fortran module beside the header, so that one -I serves both. A compiled module
# is good for the compiler that made it only: its source is installed as well.
include(CheckLanguage)
check_language(Fortran)
if(CMAKE_Fortran_COMPILER)
  enable_language(Fortran)
  set(KVR_FORTRAN_MODULE_DIR ${PROJECT_BINARY_DIR}/fortran)
  add_library(kvr7dbio_fortran OBJECT ${PROJECT_SOURCE_DIR}/include/kvr7dbio.f90)
  set_target_properties(kvr7dbio_fortran PROPERTIES
    Fortran_MODULE_DIRECTORY ${KVR_FORTRAN_MODULE_DIR})
  target_include_directories(kvr7dbio_fortran INTERFACE ${KVR_FORTRAN_MODULE_DIR})
  install(FILES ${PROJECT_SOURCE_DIR}/include/kvr7dbio.f90 ${KVR_FORTRAN_MODULE_DIR}/kvr7dbio.mod
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
endif()

# pkg-config: the prefix found from the file's own place, so that the tree can be
# installed under any prefix (or moved) without the file being written anew.
foreach(dir LIBDIR INCLUDEDIR)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_${dir}}")
    set(KVR_PC_${dir} "${CMAKE_INSTALL_${dir}}")
  else()
    set(KVR_PC_${dir} "\${prefix}/${CMAKE_INSTALL_${dir}}")
  endif()
endforeach()
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(KVR_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
else()
  file(RELATIVE_PATH KVR_PC_UP /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
  string(REGEX REPLACE "/$" "" KVR_PC_UP "${KVR_PC_UP}")
  set(KVR_PC_PREFIX "\${pcfiledir}/${KVR_PC_UP}")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/kvr7dbio.pc.in ${PROJECT_BINARY_DIR}/kvr7dbio.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/kvr7dbio.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The CMake package: find_package(Kvr7dbio) and the target Kvr7dbio::Kvr7dbio.
install(EXPORT Kvr7dbioTargets NAMESPACE Kvr7dbio:: DESTINATION ${KVR_CMAKE_PACKAGE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/Kvr7dbioConfig.cmake.in
  ${PROJECT_BINARY_DIR}/Kvr7dbioConfig.cmake INSTALL_DESTINATION ${KVR_CMAKE_PACKAGE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/Kvr7dbioConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/Kvr7dbioConfig.cmake
              ${PROJECT_BINARY_DIR}/Kvr7dbioConfigVersion.cmake
        DESTINATION ${KVR_CMAKE_PACKAGE_DIR})
