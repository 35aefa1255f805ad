# The page viewer's engine: a module the program loads at run time, after its
# start screen is painted, so that the web engine's libraries are not loaded
# before the program can show anything.
add_library(korvelta-pages MODULE
  data/PageEngine.h data/PageEngineModule.cpp
  data/MhtArchive.h data/MhtArchive.cpp
  data/MhtSchemeHandler.h data/MhtSchemeHandler.cpp)
# Beside the program in the build, where the program looks first.
set_target_properties(korvelta-pages PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
target_link_libraries(korvelta-pages PRIVATE Qt6::WebEngineWidgets PkgConfig::GMIME)
install(TARGETS korvelta-pages LIBRARY DESTINATION ${KORVELTA_MODULE_DIR})
