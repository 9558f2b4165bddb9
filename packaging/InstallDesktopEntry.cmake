# Run by `cmake --install` (and by CPack): writes the menu entry with the
# absolute paths of this installation and installs it. Given IONPATH_DESKTOP_
# TEMPLATE, IONPATH_DESKTOP_FILE (where to write it), IONPATH_BINDIR,
# IONPATH_DATADIR and IONPATH_PROGRAM_FOLDER (relative to the prefix).
set(IONPATH_LAUNCHER "${CMAKE_INSTALL_PREFIX}/${IONPATH_BINDIR}/ionpath")
set(IONPATH_PROGRAM_FOLDER "${CMAKE_INSTALL_PREFIX}/${IONPATH_PROGRAM_FOLDER}")

# A desktop entry's Exec would need these escaped twice over (once for the
# command line, once for the file's string syntax); no sensible prefix holds
# them, so refuse rather than write an entry that starts nothing.
if("${IONPATH_LAUNCHER}${IONPATH_PROGRAM_FOLDER}" MATCHES "[\"`$\\\n%]")
  message(FATAL_ERROR "The install prefix \"${CMAKE_INSTALL_PREFIX}\" holds a character "
                      "(one of \" ` $ \\ % or a line break) that a menu entry cannot name")
endif()
if(IONPATH_LAUNCHER MATCHES "[ \t'<>~|&;*?#()]")
  set(IONPATH_LAUNCHER "\"${IONPATH_LAUNCHER}\"")
endif()

configure_file("${IONPATH_DESKTOP_TEMPLATE}" "${IONPATH_DESKTOP_FILE}" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${IONPATH_DATADIR}/applications"
     TYPE FILE FILES "${IONPATH_DESKTOP_FILE}")
