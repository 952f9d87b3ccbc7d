# ostrova_add_test(NAME SOURCES... LIBS ...): one GoogleTest executable registered with CTest.
find_package(GTest REQUIRED)
include(GoogleTest)

# Test code is built for build time rather than speed: light optimisation in the optimised build
# types, and one precompiled copy of the framework headers per kind of test. A reused header must be
# compiled as its users are: all test code is position-independent code (Qt asks it of its users),
# and the carriers hold no definition a test lacks. gcc would quietly skip a header it cannot use:
# -Winvalid-pch makes that an error.
set(OSTROVA_TEST_OPTIONS -fPIC $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-O1> $<$<CXX_COMPILER_ID:GNU>:-Winvalid-pch>)

add_executable(ostrova_gtest_headers ${CMAKE_SOURCE_DIR}/cmake/TestHeaders.cpp)
target_link_libraries(ostrova_gtest_headers PRIVATE ostrova_settings GTest::gtest)
target_compile_options(ostrova_gtest_headers PRIVATE ${OSTROVA_TEST_OPTIONS})
target_precompile_headers(ostrova_gtest_headers PRIVATE
  <gtest/gtest.h> <algorithm> <atomic> <chrono> <filesystem> <fstream> <functional> <map> <memory>
  <optional> <set> <sstream> <string> <thread> <vector>)

add_executable(ostrova_qt_test_headers ${CMAKE_SOURCE_DIR}/cmake/TestHeaders.cpp)
target_link_libraries(ostrova_qt_test_headers PRIVATE ostrova_settings Qt6::Widgets)
target_compile_options(ostrova_qt_test_headers PRIVATE ${OSTROVA_TEST_OPTIONS})
target_precompile_headers(ostrova_qt_test_headers PRIVATE
  <QtWidgets/QtWidgets> <functional> <memory> <optional> <string> <vector>)

# Tests read the screens' English texts, whatever language the machine prefers.
# PROPERTIES adds CTest properties to every test case (RESOURCE_LOCK, say).
function(ostrova_add_test name)
  cmake_parse_arguments(T "PRIVATE_MOUNTS" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_PRIVATE_MOUNTS)
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/private-mounts)
  endif()
  target_link_libraries(${name} PRIVATE ostrova_settings ostrova_fixtures GTest::gtest GTest::gtest_main ${T_LIBS})
  target_compile_options(${name} PRIVATE ${OSTROVA_TEST_OPTIONS})
  target_precompile_headers(${name} REUSE_FROM ostrova_gtest_headers)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "OSTROVA_LANGUAGE=en" TIMEOUT 120 ${T_PROPERTIES})
endfunction()

# ostrova_add_qt_test(NAME SOURCES... LIBS ... PROPERTIES ...): one Qt Test executable (a test class
# with QTEST_MAIN) registered with CTest, run on the offscreen platform.
function(ostrova_add_qt_test name)
  cmake_parse_arguments(T "PRIVATE_MOUNTS" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_PRIVATE_MOUNTS)
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/private-mounts)
  endif()
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE ostrova_settings ostrova_fixtures Qt6::Test Qt6::Widgets ${T_LIBS})
  target_compile_options(${name} PRIVATE ${OSTROVA_TEST_OPTIONS})
  target_precompile_headers(${name} REUSE_FROM ostrova_qt_test_headers)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;OSTROVA_LANGUAGE=en" TIMEOUT 300 ${T_PROPERTIES})
endfunction()
