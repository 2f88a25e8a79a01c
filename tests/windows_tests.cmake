# The unit tests of the Windows build: those that need no simulated product (a Linux
# program) and no Linux-only part, in one tarnwick_tests.exe that scripts/windows.sh runs
# under Wine. GoogleTest is built for the target from Debian's googletest sources.
set(TARNWICK_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest's sources (Debian: googletest)")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${TARNWICK_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(TARNWICK_WINDOWS_TESTS
  link/command_test.cpp
  link/module_command_test.cpp
  link/receive_test.cpp
  link/frame_test.cpp
  link/tcp_protocol_test.cpp
  link/text_command_test.cpp
  link/transfer_test.cpp
  package/component_data_test.cpp
  package/crc32_words_test.cpp
  package/header_parser_test.cpp
  package/line_reader_test.cpp
  report/error_log_test.cpp
  report/reports_test.cpp
  update/component_checks_test.cpp
  update/switch_path_test.cpp
  update/version_rules_test.cpp
  history/run_recorder_test.cpp
  history/sqlite_history_test.cpp
  window/control_rules_test.cpp
  window/main_window_test.cpp
  window/status_test.cpp
  station/early_end_record_test.cpp
  station/station_test.cpp)
list(TRANSFORM TARNWICK_WINDOWS_TESTS PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
# The product's side of the protocol, in process (its pty and socket servers are Linux only).
add_library(tarnwick_sim_engine STATIC ${CMAKE_SOURCE_DIR}/tools/sim/sim_engine.cpp ${CMAKE_SOURCE_DIR}/tools/sim/product_memory.cpp)
target_include_directories(tarnwick_sim_engine PUBLIC ${CMAKE_SOURCE_DIR}/tools/sim ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(tarnwick_sim_engine PUBLIC tarnwick_update)
add_executable(tarnwick_tests ${TARNWICK_WINDOWS_TESTS} ${CMAKE_CURRENT_SOURCE_DIR}/support/no_serial_devices.cpp)
target_include_directories(tarnwick_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tools)
target_link_libraries(tarnwick_tests PRIVATE tarnwick_core tarnwick_pkgbuild tarnwick_sim_engine gtest gtest_main)
target_compile_definitions(tarnwick_tests PRIVATE TARNWICK_TEST_VERSION="${PROJECT_VERSION}")
