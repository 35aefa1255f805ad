# Sources of testing/, added to the libraries by the top-level CMakeLists.
list(APPEND GUI_SOURCES
  testing/Unit13.h testing/Unit13.cpp
  testing/Unit5.h testing/Unit5.cpp
)
