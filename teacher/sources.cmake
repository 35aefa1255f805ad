# Sources of teacher/, added to the libraries by the top-level CMakeLists.
list(APPEND CORE_SOURCES
  teacher/PasswordCheck.h teacher/PasswordCheck.cpp
  teacher/CourseFileReference.h teacher/CourseFileReference.cpp
  teacher/TestKeyCheck.h teacher/TestKeyCheck.cpp
)
list(APPEND GUI_SOURCES
  teacher/Unit4.h teacher/Unit4.cpp
  teacher/Unit7.h teacher/Unit7.cpp
  teacher/Unit8.h teacher/Unit8.cpp
)
# The journal's filter and deletions (no widgets) and its printed report.
list(APPEND CORE_SOURCES
  teacher/JournalFilterText.h teacher/JournalFilterText.cpp
  teacher/JournalPruning.h teacher/JournalPruning.cpp
)
list(APPEND GUI_SOURCES
  teacher/JournalReport.h teacher/JournalReport.cpp
)
# The editor's import of a question bank as a lesson's test.
list(APPEND GUI_SOURCES
  teacher/QuestionImportCommand.h teacher/QuestionImportCommand.cpp
)
