# With SELVANE_BUILD_FUZZERS, every module is compiled for libFuzzer: coverage
# instrumentation, AddressSanitizer and UndefinedBehaviorSanitizer (any undefined behaviour
# stops the run). Included before the modules are added; only clang provides libFuzzer.
include_guard(GLOBAL)
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang" OR NOT CMAKE_C_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "SELVANE_BUILD_FUZZERS needs clang: configure with CC=clang CXX=clang++")
endif()
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                    -fno-omit-frame-pointer -g)
add_link_options(-fsanitize=address,undefined)
