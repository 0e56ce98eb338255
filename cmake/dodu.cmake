# dodu_library(NAME SOURCES ... DEPS ...)
#   A subsystem library: public headers under src/<name>/, private ones under
#   src/<name>/internal/. Include paths are "<subsystem>/<header>.h".
function(dodu_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(dodu_${name} STATIC ${ARG_SOURCES})
  target_include_directories(dodu_${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(dodu_${name} PUBLIC ${ARG_DEPS})
endfunction()

# dodu_test(SUBSYSTEM SOURCES ... DEPS ...)
#   One GoogleTest binary per subsystem, tests/<subsystem>/<subsystem>_test.
function(dodu_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name}_test ${ARG_SOURCES})
  target_include_directories(${name}_test PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name}_test PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name}_test PRIVATE
    DODU_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    DODU_SHARED_DIR="${CMAKE_SOURCE_DIR}/../shared")
  gtest_discover_tests(${name}_test DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "DODU_TEST=1")
endfunction()
