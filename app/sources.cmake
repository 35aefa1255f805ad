# Sources of app/, added to the libraries by the top-level CMakeLists.
list(APPEND CORE_SOURCES
  app/TopicTreeFile.h app/TopicTreeFile.cpp
)
list(APPEND GUI_SOURCES
  app/MenuBarStyle.h app/MenuBarStyle.cpp
  app/Unit1.h app/Unit1.cpp
)
