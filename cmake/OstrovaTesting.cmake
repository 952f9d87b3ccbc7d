# ostrova_add_test(NAME SOURCES... LIBS ...): one GoogleTest executable registered with CTest.
find_package(GTest REQUIRED)
include(GoogleTest)

# PROPERTIES adds CTest properties to every test case (RESOURCE_LOCK, say).
function(ostrova_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ostrova_settings ostrova_fixtures GTest::gtest GTest::gtest_main ${T_LIBS})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120 ${T_PROPERTIES})
endfunction()
