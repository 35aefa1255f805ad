# Sources of app/, added to the libraries by the top-level CMakeLists.
list(APPEND CORE_SOURCES
  app/TopicTreeFile.h app/TopicTreeFile.cpp
  app/CourseSession.h app/CourseSession.cpp
  app/StartScreenFade.h app/StartScreenFade.cpp
  app/PictureDecoder.h app/PictureDecoder.cpp
  app/CourseFolders.h app/CourseFolders.cpp
)
set_source_files_properties(app/CourseFolders.cpp PROPERTIES
  COMPILE_DEFINITIONS KORVELTA_DEMO_FROM_PROGRAM="${KORVELTA_DEMO_FROM_PROGRAM}")
list(APPEND GUI_SOURCES
  app/MenuBarStyle.h app/MenuBarStyle.cpp
  app/Unit1.h app/Unit1.cpp
  app/Unit3.h app/Unit3.cpp
  app/Unit6.h app/Unit6.cpp
  app/ProgramWindows.h app/ProgramWindows.cpp
  app/CourseChooser.h app/CourseChooser.cpp
)
