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
# The journal's filter and deletions and its printed report (no widgets: the
# report is painted on any paged device, a printer or a PDF file).
list(APPEND CORE_SOURCES
  teacher/JournalFilterText.h teacher/JournalFilterText.cpp
  teacher/JournalPruning.h teacher/JournalPruning.cpp
  teacher/JournalReport.h teacher/JournalReport.cpp
)
# The editor's import of a question bank as a lesson's test.
list(APPEND GUI_SOURCES
  teacher/QuestionImportCommand.h teacher/QuestionImportCommand.cpp
)
# The journal in view exported to CSV, Excel and PDF files, and its summaries
# by group, lesson and learner. Workbooks are written by libxlsxwriter.
pkg_check_modules(XLSXWRITER REQUIRED IMPORTED_TARGET xlsxwriter)
list(APPEND CORE_SOURCES
  teacher/ExportFile.h teacher/ExportFile.cpp
  teacher/SheetFiles.h teacher/SheetFiles.cpp
  teacher/JournalExport.h teacher/JournalExport.cpp
  teacher/JournalSummary.h teacher/JournalSummary.cpp
)
# The editor's export command and its summaries tab.
list(APPEND GUI_SOURCES
  teacher/ExportDialog.h teacher/ExportDialog.cpp
  teacher/JournalSummaryView.h teacher/JournalSummaryView.cpp
)
