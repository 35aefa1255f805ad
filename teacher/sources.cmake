# Sources of teacher/, added to the libraries by the top-level CMakeLists.
list(APPEND GUI_SOURCES
  teacher/Unit4.h teacher/Unit4.cpp
  teacher/Unit7.h teacher/Unit7.cpp
  teacher/Unit8.h teacher/Unit8.cpp
)
