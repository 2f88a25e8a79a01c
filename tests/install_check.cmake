# Installs BUILD_DIR into PREFIX and fails when a file the install promises is missing.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()
set(expected
  bin/tarnwick
  bin/tarnwick-sim
  share/man/man1/tarnwick.1.gz
  share/man/man1/tarnwick-sim.1.gz
  share/bash-completion/completions/tarnwick)
if(WINDOW)
  list(APPEND expected
    share/applications/tarnwick.desktop
    share/icons/hicolor/scalable/apps/tarnwick.svg
    share/icons/hicolor/48x48/apps/tarnwick.png
    share/icons/hicolor/256x256/apps/tarnwick.png
    share/doc/tarnwick/copyright)
else()
  list(APPEND expected share/doc/tarnwick-headless/copyright)
endif()
foreach(f IN LISTS expected)
  if(NOT EXISTS "${PREFIX}/${f}")
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
file(REMOVE_RECURSE "${PREFIX}")
