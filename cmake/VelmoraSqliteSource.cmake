# SQLite for the Windows build: the amalgamation made from Debian's source package by
# scripts/sqlite-amalgamation.sh (kept in the build folder, so it is fetched once), compiled
# by the cross compiler with the options Debian builds its own library with.
set(VELMORA_SQLITE_DIR ${CMAKE_BINARY_DIR}/third_party/sqlite)
if(NOT EXISTS ${VELMORA_SQLITE_DIR}/amalgamation/sqlite3.c)
  execute_process(COMMAND ${PROJECT_SOURCE_DIR}/scripts/sqlite-amalgamation.sh ${VELMORA_SQLITE_DIR}
                  RESULT_VARIABLE sqlite_result)
  if(NOT sqlite_result EQUAL 0)
    message(FATAL_ERROR "The SQLite amalgamation could not be made (scripts/sqlite-amalgamation.sh)")
  endif()
endif()
add_library(velmora_sqlite3 STATIC ${VELMORA_SQLITE_DIR}/amalgamation/sqlite3.c)
target_include_directories(velmora_sqlite3 SYSTEM PUBLIC ${VELMORA_SQLITE_DIR}/amalgamation)
target_compile_definitions(
  velmora_sqlite3
  PRIVATE SQLITE_SECURE_DELETE SQLITE_ENABLE_COLUMN_METADATA SQLITE_ENABLE_FTS3
          SQLITE_ENABLE_FTS3_PARENTHESIS SQLITE_ENABLE_RTREE=1 SQLITE_SOUNDEX=1
          SQLITE_OMIT_LOOKASIDE=1 SQLITE_ENABLE_DBSTAT_VTAB SQLITE_LIKE_DOESNT_MATCH_BLOBS
          SQLITE_THREADSAFE=1 SQLITE_USE_URI=1 SQLITE_MAX_SCHEMA_RETRY=25
          SQLITE_MAX_VARIABLE_NUMBER=250000 SQLITE_OMIT_LOAD_EXTENSION)
target_compile_options(velmora_sqlite3 PRIVATE -w)
add_library(SQLite::SQLite3 ALIAS velmora_sqlite3)
