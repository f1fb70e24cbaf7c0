# selvane_add_test(NAME <target> SOURCES <files...> LIBS <libs...>)
# One GoogleTest program per module; each test case becomes its own CTest test.
include_guard(GLOBAL)
include(${CMAKE_CURRENT_LIST_DIR}/SelvaneModule.cmake)
find_package(GTest REQUIRED)
include(GoogleTest)

function(selvane_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  if(NOT T_SOURCES)
    return()  # a module whose tests are not written yet
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  selvane_module_include_root(${T_NAME} tests)
  selvane_our_code(${T_NAME})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  # Every test file includes GoogleTest; parsing it once per program saves much of CI's
  # build time.
  target_precompile_headers(${T_NAME} PRIVATE <gtest/gtest.h> <gmock/gmock.h> <string> <vector>)
  target_compile_definitions(${T_NAME} PRIVATE
    SELVANE_TESTDATA_DIR="${SELVANE_TESTDATA_DIR}"
    SELVANE_FIXTURES_DIR="${CMAKE_SOURCE_DIR}/tests/fixtures")
  gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
