# Sources of testing/, added to the libraries by the top-level CMakeLists.
list(APPEND CORE_SOURCES
  testing/AnswerKeyFile.h testing/AnswerKeyFile.cpp
  testing/Grading.h testing/Grading.cpp
  testing/TestSession.h testing/TestSession.cpp
)
# Question banks made into test folders, and test folders checked and written back.
list(APPEND CORE_SOURCES
  testing/FileRemark.h
  testing/QuestionBank.h testing/QuestionBank.cpp
  testing/AikenFormat.h testing/AikenFormat.cpp
  testing/GiftFormat.h testing/GiftFormat.cpp
  testing/TestPage.h testing/TestPage.cpp
  testing/TestFolder.h testing/TestFolder.cpp
  testing/TestFolderCommands.h testing/TestFolderCommands.cpp
)
list(APPEND GUI_SOURCES
  testing/Unit13.h testing/Unit13.cpp
  testing/Unit5.h testing/Unit5.cpp
)
