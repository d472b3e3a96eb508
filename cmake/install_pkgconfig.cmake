# Runs at install time (from cmake/install.cmake): writes urduspell.pc for the prefix being
# installed to and installs it. Directories under the prefix are written as ${prefix}/..., as is
# customary (and lets `pkg-config --define-prefix` move them); absolute ones as they are.
foreach(_kind LIBDIR INCLUDEDIR DATADIR)
  if(NOT IS_ABSOLUTE "${URDUSPELL_PC_${_kind}}")
    set(URDUSPELL_PC_${_kind} "\${prefix}/${URDUSPELL_PC_${_kind}}")
  endif()
endforeach()
set(URDUSPELL_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
# One staging file per destination: installs of one build tree into two prefixes may run at once.
string(SHA1 _destination_hash "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(_staged "${URDUSPELL_PC_STAGING_DIR}/${_destination_hash}/urduspell.pc")
configure_file("${URDUSPELL_PC_TEMPLATE}" "${_staged}" @ONLY)

string(REPLACE "\${prefix}" "${CMAKE_INSTALL_PREFIX}" _destination "${URDUSPELL_PC_LIBDIR}/pkgconfig")
file(INSTALL DESTINATION "${_destination}" TYPE FILE FILES "${_staged}")
