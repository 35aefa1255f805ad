# Where an installed korvelta keeps its parts, and one-line install rules for
# its programs. The paths the program itself looks up are handed to it relative
# to its own folder, so that it finds them under any installation prefix.
include(GNUInstallDirs)

set(KORVELTA_ID org.korvelta.korvelta)
# Programs the course program starts itself, away from PATH.
set(KORVELTA_HELPER_DIR ${CMAKE_INSTALL_LIBEXECDIR}/korvelta)
set(KORVELTA_DEMO_DIR ${CMAKE_INSTALL_DATADIR}/korvelta/demo)
# Modules the course program loads itself (the page viewer's engine). One
# level deeper than a library folder: they are no libraries for the dynamic
# linker, so the package runs no ldconfig for them.
set(KORVELTA_MODULE_DIR ${CMAKE_INSTALL_LIBDIR}/korvelta/modules)
file(RELATIVE_PATH KORVELTA_HELPERS_FROM_PROGRAM
  ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${KORVELTA_HELPER_DIR})
file(RELATIVE_PATH KORVELTA_MODULES_FROM_PROGRAM
  ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${KORVELTA_MODULE_DIR})
file(RELATIVE_PATH KORVELTA_DEMO_FROM_PROGRAM
  ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${KORVELTA_DEMO_DIR})

# A program a user runs: on PATH.
function(korvelta_install_program target)
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()

# A program that korvelta starts itself.
function(korvelta_install_helper target)
  install(TARGETS ${target} RUNTIME DESTINATION ${KORVELTA_HELPER_DIR})
endfunction()
