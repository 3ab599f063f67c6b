# GoogleTest: the system package natively, built from Debian's googletest sources for Windows.
if(CMAKE_CROSSCOMPILING)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  if(NOT TARGET GTest::gtest_main)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# tavir_add_test(name SOURCES... [LABELS l...]): one test binary, its cases registered with CTest.
function(tavir_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LABELS;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE tavir_core tavir_warnings GTest::gtest_main ${T_LIBS})
  target_compile_definitions(${name} PRIVATE TAVIR_FIXTURES="${PROJECT_SOURCE_DIR}/tests/fixtures"
                                             TAVIR_EXAMPLES="${PROJECT_SOURCE_DIR}/examples")
  if(NOT T_LABELS)
    set(T_LABELS unit)
  endif()
  # Under Wine the first listing may wait for the Wine prefix to be made (scripts/wine-prefix).
  if(CMAKE_CROSSCOMPILING)
    set(discovery_timeout 240)
  else()
    set(discovery_timeout 60)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES LABELS "${T_LABELS}"
                       DISCOVERY_TIMEOUT ${discovery_timeout})
endfunction()
