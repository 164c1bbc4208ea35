# SQLite: Debian's libsqlite3 natively; for Windows the same version built
# from Debian's source package into the build tree (tools/fetch_sqlite.sh).
add_library(wmb_sqlite INTERFACE)
if(WIN32)
  set(WMB_SQLITE_DIR ${CMAKE_BINARY_DIR}/_deps/sqlite CACHE PATH "Where the SQLite amalgamation is kept")
  if(NOT EXISTS ${WMB_SQLITE_DIR}/sqlite3.c)
    message(STATUS "Fetching the SQLite amalgamation from Debian's source package")
    execute_process(COMMAND ${CMAKE_SOURCE_DIR}/tools/fetch_sqlite.sh ${WMB_SQLITE_DIR}
                    RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "tools/fetch_sqlite.sh failed (${rc})")
    endif()
  endif()
  add_library(sqlite3_static STATIC ${WMB_SQLITE_DIR}/sqlite3.c)
  target_include_directories(sqlite3_static SYSTEM PUBLIC ${WMB_SQLITE_DIR})
  target_compile_definitions(sqlite3_static PRIVATE
    SQLITE_THREADSAFE=1 SQLITE_DEFAULT_FOREIGN_KEYS=0 SQLITE_OMIT_LOAD_EXTENSION
    SQLITE_DQS=0 SQLITE_DEFAULT_MEMSTATUS=0 SQLITE_WIN32_MALLOC)
  target_compile_options(sqlite3_static PRIVATE -O2 -w)
  target_link_libraries(wmb_sqlite INTERFACE sqlite3_static)
else()
  find_package(SQLite3 REQUIRED)
  target_link_libraries(wmb_sqlite INTERFACE SQLite::SQLite3)
endif()
