# Sources of teacher/, added to the libraries by the top-level CMakeLists.
