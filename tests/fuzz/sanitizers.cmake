# Flags of the fuzz build: every library of ours is instrumented for libFuzzer's
# coverage and checked by AddressSanitizer and UndefinedBehaviorSanitizer; the
# fuzz targets themselves link libFuzzer's driver (tests/fuzz/CMakeLists.txt).
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "KORVELTA_FUZZ needs clang (CXX=clang++); scripts/fuzz.sh configures it")
endif()
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
  -fno-omit-frame-pointer -g)
add_link_options(-fsanitize=address,undefined)
