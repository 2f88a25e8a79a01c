# What the Windows build takes from Debian's packages for the target, since Debian ships no
# mingw-w64 builds of them: SQLite compiled from its amalgamation (TARNWICK_SQLITE_SOURCE_DIR,
# made by scripts/windows.sh from Debian's sqlite3 source package), and the header-only JSON
# library copied out of /usr/include, so that no Linux header reaches the cross compiler.
set(TARNWICK_SQLITE_SOURCE_DIR "" CACHE PATH "Directory holding sqlite3.c and sqlite3.h")
if(NOT EXISTS "${TARNWICK_SQLITE_SOURCE_DIR}/sqlite3.c")
  message(FATAL_ERROR "The Windows build needs the SQLite amalgamation: set TARNWICK_SQLITE_SOURCE_DIR "
                      "to a directory with sqlite3.c and sqlite3.h (scripts/windows.sh makes one).")
endif()
enable_language(C)
add_library(tarnwick_sqlite3 STATIC ${TARNWICK_SQLITE_SOURCE_DIR}/sqlite3.c)
target_include_directories(tarnwick_sqlite3 SYSTEM PUBLIC ${TARNWICK_SQLITE_SOURCE_DIR})
target_compile_definitions(tarnwick_sqlite3 PRIVATE SQLITE_THREADSAFE=1 SQLITE_OMIT_LOAD_EXTENSION SQLITE_DQS=0)
target_compile_options(tarnwick_sqlite3 PRIVATE -w)

set(TARNWICK_JSON_HEADERS /usr/include/nlohmann CACHE PATH "The JSON library's headers (Debian: nlohmann-json3-dev)")
if(NOT EXISTS "${TARNWICK_JSON_HEADERS}/json.hpp")
  message(FATAL_ERROR "The Windows build needs nlohmann/json.hpp (Debian: nlohmann-json3-dev).")
endif()
file(COPY ${TARNWICK_JSON_HEADERS} DESTINATION ${CMAKE_BINARY_DIR}/deps/include)
add_library(tarnwick_json INTERFACE)
target_include_directories(tarnwick_json SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/deps/include)
