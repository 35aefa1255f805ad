# Sources of app/, added to the libraries by the top-level CMakeLists.
list(APPEND CORE_SOURCES
  app/TopicTreeFile.h app/TopicTreeFile.cpp
  app/StartScreenFade.h app/StartScreenFade.cpp
  app/PictureDecoder.h app/PictureDecoder.cpp
  app/MetafileReader.h app/MetafileReader.cpp
  app/CourseFolders.h app/CourseFolders.cpp
)
set_source_files_properties(app/CourseFolders.cpp PROPERTIES
  COMPILE_DEFINITIONS KORVELTA_DEMO_FROM_PROGRAM="${KORVELTA_DEMO_FROM_PROGRAM}")
# Tests and benchmarks run from their own build folders, away from the reader;
# an installed program finds it among its helpers.
set_source_files_properties(app/MetafileReader.cpp PROPERTIES
  COMPILE_DEFINITIONS KORVELTA_PICTURE_READER_BUILT="${CMAKE_BINARY_DIR}/korvelta-picture-reader")
set_property(SOURCE app/MetafileReader.cpp APPEND PROPERTY
  COMPILE_DEFINITIONS KORVELTA_HELPERS_FROM_PROGRAM="${KORVELTA_HELPERS_FROM_PROGRAM}")
list(APPEND GUI_SOURCES
  app/MenuBarStyle.h app/MenuBarStyle.cpp
  app/Unit1.h app/Unit1.cpp
  app/Unit3.h app/Unit3.cpp
  app/Unit6.h app/Unit6.cpp
  app/CourseChooser.h app/CourseChooser.cpp
)
