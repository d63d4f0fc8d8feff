# GoogleTest from Debian's source tree, built with our own compiler for either build.
set(KOLVANTA_GTEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest source tree")
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory("${KOLVANTA_GTEST_SOURCE}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
include(GoogleTest)
if(DEFINED KOLVANTA_WINE_RUN)
  set(KOLVANTA_TEST_FIXTURE FIXTURES_REQUIRED wine)
endif()

# kolvanta_add_gtest(<name> SOURCES ... LIBS ...): one test executable, its cases
# discovered before the run (under Wine the prefix may still be in the making).
function(kolvanta_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT 120 ${KOLVANTA_TEST_FIXTURE})
endfunction()

# Under Wine, stop the build tree's wine server once every test has run.
if(DEFINED KOLVANTA_WINE_RUN)
  add_test(NAME wine_server_stop COMMAND "${KOLVANTA_WINE_RUN}" --kill-server)
  set_tests_properties(wine_server_stop PROPERTIES FIXTURES_CLEANUP wine)
endif()
