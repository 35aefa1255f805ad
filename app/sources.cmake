# Sources of app/, added to the libraries by the top-level CMakeLists.
list(APPEND CORE_SOURCES
  app/TopicTreeFile.h app/TopicTreeFile.cpp
  app/StartScreenFade.h app/StartScreenFade.cpp
  app/PictureDecoder.h app/PictureDecoder.cpp
  app/MetafileReader.h app/MetafileReader.cpp
)
# Tests and benchmarks run from their own build folders, away from the reader.
set_source_files_properties(app/MetafileReader.cpp PROPERTIES
  COMPILE_DEFINITIONS KORVELTA_PICTURE_READER_BUILT="${CMAKE_BINARY_DIR}/korvelta-picture-reader")
list(APPEND GUI_SOURCES
  app/MenuBarStyle.h app/MenuBarStyle.cpp
  app/Unit1.h app/Unit1.cpp
  app/Unit3.h app/Unit3.cpp
  app/Unit6.h app/Unit6.cpp
)
