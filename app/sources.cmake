# Sources of app/, added to the libraries by the top-level CMakeLists.
korvelta_units(CORE_SOURCES app TopicTreeFile CourseSession StartScreenFade PictureDecoder
  CourseFolders)
set_source_files_properties(app/CourseFolders.cpp PROPERTIES
  COMPILE_DEFINITIONS KORVELTA_DEMO_FROM_PROGRAM="${KORVELTA_DEMO_FROM_PROGRAM}")
korvelta_units(GUI_SOURCES app MenuBarStyle TopicTreeWidget Unit1 Unit3 Unit6 ProgramWindows CourseChooser)
