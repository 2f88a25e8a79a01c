# What `cmake --install` puts where, in three components that CPack turns into three Debian
# packages from one configure:
#   window   -> tarnwick           the program with its window (Qt 6, ALSA), desktop entry, icons
#   headless -> tarnwick-headless  the same program without Qt or ALSA, for line PCs
#   sim      -> tarnwick-sim       the simulated product, for demos and tests
# Both program packages install /usr/bin/tarnwick and so conflict. A plain install (no
# component) installs the window program and the simulated product, as it always did.
include(GNUInstallDirs)
set(TARNWICK_DATA_DIR "${CMAKE_INSTALL_FULL_LOCALSTATEDIR}/lib/tarnwick" CACHE PATH
    "Program directory of an installed program (station directories)")
set_property(SOURCE src/platform/posix/paths.cpp APPEND PROPERTY COMPILE_DEFINITIONS
  TARNWICK_INSTALL_BINDIR="${CMAKE_INSTALL_FULL_BINDIR}" TARNWICK_INSTALL_DATADIR="${TARNWICK_DATA_DIR}")

# Manual pages and the Debian changelog, compressed as Debian wants them (gzip -9n: no name,
# no time stamp, so the packages build reproducibly).
set(TARNWICK_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)
set(TARNWICK_COMPRESSED)
foreach(source tarnwick.1 tarnwick-sim.1 changelog)
  set(output ${TARNWICK_PACKAGING_OUT}/${source}.gz)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TARNWICK_PACKAGING_OUT}
    COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/packaging/${source} > ${output}
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/${source} VERBATIM)
  list(APPEND TARNWICK_COMPRESSED ${output})
endforeach()
add_custom_target(packaging_files ALL DEPENDS ${TARNWICK_COMPRESSED})

# The files every package of the program carries: manual page, completion, copyright and
# changelog under the package's own documentation directory.
function(tarnwick_install_program_files component package)
  set(extra ${ARGN})
  install(FILES ${TARNWICK_PACKAGING_OUT}/tarnwick.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
          COMPONENT ${component} ${extra})
  install(FILES packaging/tarnwick.bash-completion DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
          RENAME tarnwick COMPONENT ${component} ${extra})
  tarnwick_install_docs(${component} ${package} ${extra})
endfunction()
function(tarnwick_install_docs component package)
  install(FILES packaging/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package}
          COMPONENT ${component} ${ARGN})
  install(FILES ${TARNWICK_PACKAGING_OUT}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package}
          RENAME changelog.Debian.gz COMPONENT ${component} ${ARGN})
endfunction()

set(TARNWICK_COMPONENTS headless)
if(TARNWICK_HAVE_QT)
  list(PREPEND TARNWICK_COMPONENTS window)
  install(TARGETS tarnwick RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT window)
  install(FILES packaging/tarnwick.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT window)
  install(FILES packaging/tarnwick.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
          COMPONENT window)
  foreach(size 16 32 48 128 256)
    install(FILES packaging/tarnwick-${size}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME tarnwick.png COMPONENT window)
  endforeach()
  tarnwick_install_program_files(window tarnwick)
  # The headless program only into its own package, never over the window's in a plain install.
  set(headless_extra EXCLUDE_FROM_ALL)
endif()
install(TARGETS ${TARNWICK_HEADLESS_TARGET} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT headless
        ${headless_extra})
tarnwick_install_program_files(headless tarnwick-headless ${headless_extra})
if(TARGET tarnwick-sim)
  list(APPEND TARNWICK_COMPONENTS sim)
  install(TARGETS tarnwick-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT sim)
  install(FILES ${TARNWICK_PACKAGING_OUT}/tarnwick-sim.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT sim)
  tarnwick_install_docs(sim tarnwick-sim)
endif()

set(CPACK_PACKAGE_NAME tarnwick)
set(CPACK_PACKAGE_VENDOR "Tarnwick")
set(CPACK_PACKAGE_CONTACT "Tarnwick <firmware@tarnwick.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")  # configure with -DCMAKE_INSTALL_PREFIX=/usr for a .deb
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL ${TARNWICK_COMPONENTS})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # dependencies computed from the binaries
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tarnwick.invalid/")

set(CPACK_DEBIAN_WINDOW_PACKAGE_NAME tarnwick)
set(CPACK_DEBIAN_WINDOW_PACKAGE_CONFLICTS tarnwick-headless)
set(CPACK_DEBIAN_WINDOW_PACKAGE_REPLACES tarnwick-headless)
set(CPACK_COMPONENT_WINDOW_DESCRIPTION "Ostrel Firmware Writer: rewrites the product's firmware
Loads an update package and rewrites each component of the audio/video
product over RS-232C or Ethernet, including its network module, from a
window, from the command line, or as an unattended production-line station.")
set(CPACK_DEBIAN_HEADLESS_PACKAGE_NAME tarnwick-headless)
set(CPACK_DEBIAN_HEADLESS_PACKAGE_CONFLICTS tarnwick)
set(CPACK_DEBIAN_HEADLESS_PACKAGE_REPLACES tarnwick)
set(CPACK_COMPONENT_HEADLESS_DESCRIPTION "Ostrel Firmware Writer without a window, for line PCs
The command line, production-line stations and the station monitor of the
firmware writer, without the window and without Qt or ALSA, for PCs that
have no desktop.")
set(CPACK_DEBIAN_SIM_PACKAGE_NAME tarnwick-sim)
set(CPACK_DEBIAN_SIM_PACKAGE_SECTION devel)
set(CPACK_COMPONENT_SIM_DESCRIPTION "Simulated product for the Ostrel Firmware Writer
Plays the product over a pseudo-terminal or loopback TCP, with its network
module and TFTP server, for demonstrations and tests of the firmware writer.
It is not needed to update real products.")
include(CPack)
