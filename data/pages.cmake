# The page viewer's engine: a module the program loads at run time, after its
# start screen is painted, so that the web engine's libraries are not loaded
# before the program can show anything.
# Its web archive side is a library of its own, which the tests that reach
# into it link as well.
add_library(korvelta_pages STATIC
  data/MhtArchive.h data/MhtArchive.cpp
  data/MhtSchemeHandler.h data/MhtSchemeHandler.cpp)
set_target_properties(korvelta_pages PROPERTIES POSITION_INDEPENDENT_CODE ON)
target_include_directories(korvelta_pages PUBLIC data)
target_link_libraries(korvelta_pages PUBLIC Qt6::WebEngineCore PRIVATE PkgConfig::GMIME)

add_library(korvelta-pages MODULE data/PageEngine.h data/PageEngineModule.cpp)
# Beside the program in the build, where the program looks first.
set_target_properties(korvelta-pages PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
target_link_libraries(korvelta-pages PRIVATE korvelta_pages Qt6::WebEngineWidgets)
install(TARGETS korvelta-pages LIBRARY DESTINATION ${KORVELTA_MODULE_DIR})
