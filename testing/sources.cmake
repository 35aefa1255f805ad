# Sources of testing/, added to the libraries by the top-level CMakeLists.
korvelta_units(CORE_SOURCES testing AnswerKeyFile Grading TestSession)
# Question banks made into test folders, and test folders checked and written back.
korvelta_units(CORE_SOURCES testing FileRemark QuestionBank AikenFormat GiftFormat TestPage
  TestFolder TestFolderCommands)
korvelta_units(GUI_SOURCES testing Unit13 Unit5)
