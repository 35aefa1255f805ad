# Sources of data/, added to the libraries by the top-level CMakeLists.
file(READ ${CMAKE_CURRENT_LIST_DIR}/schema.sql SCHEMA_SQL)
configure_file(${CMAKE_CURRENT_LIST_DIR}/schema_sql.h.in ${CMAKE_BINARY_DIR}/generated/schema_sql.h @ONLY)
file(READ ${CMAKE_CURRENT_LIST_DIR}/schema-postgresql.sql SCHEMA_POSTGRESQL_SQL)
configure_file(${CMAKE_CURRENT_LIST_DIR}/schema_postgresql_sql.h.in
  ${CMAKE_BINARY_DIR}/generated/schema_postgresql_sql.h @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_LIST_DIR}/schema.sql ${CMAKE_CURRENT_LIST_DIR}/schema-postgresql.sql)
# A course folder with db1.connection keeps its database on a PostgreSQL server;
# libpq itself parses the connection string and tells a dropped connection.
pkg_check_modules(LIBPQ REQUIRED IMPORTED_TARGET libpq)

korvelta_units(CORE_SOURCES data AppError GridColumn LessonPaths RowFilter TableCursor
  TableCursorStorage KeyedDelete CourseDatabase JournalRows DialogFilter MdbImport ProgramLauncher MhtArchive)
# Tests and benchmarks run from their own build folders, away from the reader.
set_source_files_properties(data/MdbImport.cpp PROPERTIES
  COMPILE_DEFINITIONS KORVELTA_MDB_IMPORT_BUILT="${CMAKE_BINARY_DIR}/korvelta-mdb-import")
set_property(SOURCE data/MdbImport.cpp APPEND PROPERTY
  COMPILE_DEFINITIONS KORVELTA_HELPERS_FROM_PROGRAM="${KORVELTA_HELPERS_FROM_PROGRAM}")
korvelta_units(GUI_SOURCES data Messages WindowPlacement StatusClock Platform PageViewer PageEngine
  PageEngineLoader MediaPlayer Unit2 CursorTableModel DBGrid DBEdit DBNavigator)
set_source_files_properties(data/PageEngineLoader.cpp PROPERTIES COMPILE_DEFINITIONS
  "KORVELTA_MODULES_FROM_PROGRAM=\"${KORVELTA_MODULES_FROM_PROGRAM}\";KORVELTA_PAGES_BUILT=\"${CMAKE_BINARY_DIR}/korvelta-pages.so\"")
