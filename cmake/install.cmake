# What `cmake --install` puts under the prefix:
#   lib/liburduspell.so.<version>, its SONAME link and the development link
#   include/urduspell/*.h                     the public headers and the generated export.h
#   share/urduspell/ur/                       the default data set (source files only)
#   lib/cmake/urduspell/                      the CMake package: find_package(urduspell)
#   lib/pkgconfig/urduspell.pc                the pkg-config file
# (The command-line tool and its man page install themselves from tools/, the Enchant provider
# from enchant/.)
include(CMakePackageConfigHelpers)

set(URDUSPELL_CMAKE_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/urduspell)
# Where the default data set goes, relative to the prefix; the data folders of the command-line
# tool and of the Enchant provider are found there too.
set(URDUSPELL_INSTALL_DATASET_DIR ${CMAKE_INSTALL_DATADIR}/urduspell/ur)

# --- the library and its headers -------------------------------------------------------------
install(TARGETS urduspell EXPORT urduspellTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    COMPONENT Runtime
    NAMELINK_COMPONENT Development
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime)

file(GLOB _urduspell_public_headers ${PROJECT_SOURCE_DIR}/include/urduspell/*.h)
install(FILES ${_urduspell_public_headers} ${PROJECT_BINARY_DIR}/include/urduspell/export.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/urduspell
  COMPONENT Development)

# --- the default data set ----------------------------------------------------------------------
# Only what the data set is made of: its config.ini, the four source files it names, and the
# notes that travel with it. Derived files (dictionary, posting lists) are never installed: they
# are built per user, from these, on first use, and a run of the library in the source folder
# may have left some there.
set(_urduspell_dataset_source ${PROJECT_SOURCE_DIR}/data/ur)
if(EXISTS ${_urduspell_dataset_source}/config.ini)
  file(STRINGS ${_urduspell_dataset_source}/config.ini _urduspell_dataset_settings)
  set(_urduspell_dataset_files ${_urduspell_dataset_source}/config.ini)
  foreach(_key wordListFilePath urduAlphabetFilePath soundexFilePath shapexFilePath)
    set(_value "")
    foreach(_line IN LISTS _urduspell_dataset_settings)
      if(_line MATCHES "^[ \t]*${_key}[ \t]*=[ \t]*([^\r]*[^ \t\r])")
        set(_value ${CMAKE_MATCH_1})
      endif()
    endforeach()
    if(_value STREQUAL "" OR IS_ABSOLUTE "${_value}" OR _value MATCHES "/"
       OR NOT EXISTS ${_urduspell_dataset_source}/${_value})
      message(FATAL_ERROR "data/ur/config.ini must name ${_key} as a file beside it "
                          "(found \"${_value}\")")
    endif()
    list(APPEND _urduspell_dataset_files ${_urduspell_dataset_source}/${_value})
  endforeach()
  foreach(_note README.md NOTICE)
    if(EXISTS ${_urduspell_dataset_source}/${_note})
      list(APPEND _urduspell_dataset_files ${_urduspell_dataset_source}/${_note})
    endif()
  endforeach()
  install(FILES ${_urduspell_dataset_files}
    DESTINATION ${URDUSPELL_INSTALL_DATASET_DIR}
    COMPONENT Runtime)
else()
  message(WARNING "data/ur/config.ini is missing: the default data set will not be installed")
endif()

# --- CMake package -------------------------------------------------------------------------------
install(EXPORT urduspellTargets
  NAMESPACE urduspell::
  FILE urduspellTargets.cmake
  DESTINATION ${URDUSPELL_CMAKE_PACKAGE_DIR}
  COMPONENT Development)

configure_package_config_file(
  ${CMAKE_CURRENT_LIST_DIR}/urduspellConfig.cmake.in
  ${PROJECT_BINARY_DIR}/cmake/urduspellConfig.cmake
  INSTALL_DESTINATION ${URDUSPELL_CMAKE_PACKAGE_DIR}
  PATH_VARS URDUSPELL_INSTALL_DATASET_DIR)
# The SONAME carries the major version, so only the same major version is compatible.
write_basic_package_version_file(
  ${PROJECT_BINARY_DIR}/cmake/urduspellConfigVersion.cmake
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMajorVersion)
install(FILES
    ${PROJECT_BINARY_DIR}/cmake/urduspellConfig.cmake
    ${PROJECT_BINARY_DIR}/cmake/urduspellConfigVersion.cmake
  DESTINATION ${URDUSPELL_CMAKE_PACKAGE_DIR}
  COMPONENT Development)

# --- pkg-config --------------------------------------------------------------------------------
# Written at install time, so that the prefix in the file is the one installed to, also when it
# is chosen only then (`cmake --install build --prefix DIR`).
install(CODE "
  set(URDUSPELL_PC_TEMPLATE \"${CMAKE_CURRENT_LIST_DIR}/urduspell.pc.in\")
  set(URDUSPELL_PC_STAGING_DIR \"${PROJECT_BINARY_DIR}/cmake/pkgconfig\")
  set(URDUSPELL_PC_LIBDIR \"${CMAKE_INSTALL_LIBDIR}\")
  set(URDUSPELL_PC_INCLUDEDIR \"${CMAKE_INSTALL_INCLUDEDIR}\")
  set(URDUSPELL_PC_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
  set(URDUSPELL_PC_VERSION \"${PROJECT_VERSION}\")
  set(URDUSPELL_PC_DESCRIPTION \"${PROJECT_DESCRIPTION}\")
  include(\"${CMAKE_CURRENT_LIST_DIR}/install_pkgconfig.cmake\")
" COMPONENT Development)

# --- tests of the installed tree -------------------------------------------------------------------
if(URDUSPELL_BUILD_TESTS AND EXISTS ${PROJECT_SOURCE_DIR}/tests/install/CMakeLists.txt)
  add_subdirectory(${PROJECT_SOURCE_DIR}/tests/install ${PROJECT_BINARY_DIR}/tests/install)
endif()
