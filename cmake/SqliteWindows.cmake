# SQLite for the Windows build: the amalgamation is generated from Debian's
# source package once per build folder and compiled into a static library.
set(NULLVANE_SQLITE_DIR ${CMAKE_BINARY_DIR}/sqlite-src)
if(NOT EXISTS ${NULLVANE_SQLITE_DIR}/sqlite3.c)
    message(STATUS "Generating sqlite3.c from Debian's sqlite3 source package")
    execute_process(COMMAND ${CMAKE_SOURCE_DIR}/cmake/sqlite-from-debian.sh ${NULLVANE_SQLITE_DIR}
                    RESULT_VARIABLE sqliteResult)
    if(NOT sqliteResult EQUAL 0)
        message(FATAL_ERROR "Could not generate sqlite3.c")
    endif()
endif()
add_library(sqlite3_static STATIC ${NULLVANE_SQLITE_DIR}/sqlite3.c)
target_include_directories(sqlite3_static SYSTEM PUBLIC ${NULLVANE_SQLITE_DIR})
target_compile_definitions(sqlite3_static PRIVATE SQLITE_THREADSAFE=1 SQLITE_OMIT_LOAD_EXTENSION)
set_source_files_properties(${NULLVANE_SQLITE_DIR}/sqlite3.c PROPERTIES COMPILE_OPTIONS "-O2;-w")
add_library(SQLite::SQLite3 ALIAS sqlite3_static)
