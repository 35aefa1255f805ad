# Sources of teacher/, added to the libraries by the top-level CMakeLists.
korvelta_units(CORE_SOURCES teacher PasswordCheck CourseFileReference TestKeyCheck)
korvelta_units(GUI_SOURCES teacher Unit4 Unit7 Unit8)
# The journal's filter and deletions and its printed report (no widgets: the
# report is painted on any paged device, a printer or a PDF file).
korvelta_units(CORE_SOURCES teacher JournalFilterText JournalPruning JournalReport)
# The editor's import of a question bank as a lesson's test.
korvelta_units(GUI_SOURCES teacher QuestionImportCommand)
# The journal in view exported to CSV, Excel and PDF files, and its summaries
# by group, lesson and learner. Workbooks are written by libxlsxwriter.
pkg_check_modules(XLSXWRITER REQUIRED IMPORTED_TARGET xlsxwriter)
korvelta_units(CORE_SOURCES teacher ExportFile SheetFiles SheetPdf JournalExport JournalSummary)
# The editor's export command and its summaries tab.
korvelta_units(GUI_SOURCES teacher ExportDialog JournalSummaryView)
