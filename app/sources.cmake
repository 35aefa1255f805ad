# Sources of app/, added to the libraries by the top-level CMakeLists.
korvelta_units(CORE_SOURCES app TopicTreeFile CourseSession StartScreenFade PictureDecoder
  MetafileReader CourseFolders)
set_source_files_properties(app/CourseFolders.cpp PROPERTIES
  COMPILE_DEFINITIONS KORVELTA_DEMO_FROM_PROGRAM="${KORVELTA_DEMO_FROM_PROGRAM}")
# Tests and benchmarks run from their own build folders, away from the reader;
# an installed program finds it among its helpers.
set_source_files_properties(app/MetafileReader.cpp PROPERTIES
  COMPILE_DEFINITIONS KORVELTA_PICTURE_READER_BUILT="${CMAKE_BINARY_DIR}/korvelta-picture-reader")
set_property(SOURCE app/MetafileReader.cpp APPEND PROPERTY
  COMPILE_DEFINITIONS KORVELTA_HELPERS_FROM_PROGRAM="${KORVELTA_HELPERS_FROM_PROGRAM}")
korvelta_units(GUI_SOURCES app MenuBarStyle TopicTreeWidget Unit1 Unit3 Unit6 ProgramWindows CourseChooser)
