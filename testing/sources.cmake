# Sources of testing/, added to the libraries by the top-level CMakeLists.
