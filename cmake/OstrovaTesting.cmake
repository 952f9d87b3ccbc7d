# ostrova_add_test(NAME SOURCES... LIBS ...): one GoogleTest executable registered with CTest.
find_package(GTest REQUIRED)
include(GoogleTest)

# PROPERTIES adds CTest properties to every test case (RESOURCE_LOCK, say).
function(ostrova_add_test name)
  cmake_parse_arguments(T "PRIVATE_MOUNTS" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_PRIVATE_MOUNTS)
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/private-mounts)
  endif()
  target_link_libraries(${name} PRIVATE ostrova_settings ostrova_fixtures GTest::gtest GTest::gtest_main ${T_LIBS})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120 ${T_PROPERTIES})
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
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300 ${T_PROPERTIES})
endfunction()
