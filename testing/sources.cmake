# Sources of testing/, added to the libraries by the top-level CMakeLists.
list(APPEND CORE_SOURCES
  testing/AnswerKeyFile.h testing/AnswerKeyFile.cpp
  testing/Grading.h testing/Grading.cpp
  testing/TestSession.h testing/TestSession.cpp
)
list(APPEND GUI_SOURCES
  testing/Unit13.h testing/Unit13.cpp
  testing/Unit5.h testing/Unit5.cpp
)
