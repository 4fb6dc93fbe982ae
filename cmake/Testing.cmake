# GoogleTest: Debian's libgtest-dev natively; for Windows the sources of
# Debian's googletest package, built with the cross compiler.
include(GoogleTest)

if(VARNEL_WINDOWS)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # The sources are Debian's, not ours: no warnings from them.
  target_compile_options(gtest PRIVATE -w)
  target_compile_options(gtest_main PRIVATE -w)
  add_library(varnel_gtest INTERFACE)
  target_link_libraries(varnel_gtest INTERFACE gtest_main gtest)
else()
  find_package(GTest REQUIRED)
  add_library(varnel_gtest INTERFACE)
  target_link_libraries(varnel_gtest INTERFACE GTest::gtest_main GTest::gtest)
endif()

# varnel_discover_wine_tests(target [property value]...): the tests of a
# Windows GoogleTest program, run under Wine with the Wine fixture; extra
# test properties may follow. Where this machine's Wine cannot run the
# build (VARNEL_WINE_TESTS off) the program is built but no test is added.
function(varnel_discover_wine_tests target)
  if(VARNEL_WINE_TESTS)
    gtest_discover_tests(${target}
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 120
      PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 120 ${ARGN})
  endif()
endfunction()

# varnel_add_gtest(name sources... LIBS libs...): one GoogleTest program;
# each of its tests becomes a ctest test. Windows programs run under Wine
# through the cross-compiling emulator and share the Wine fixture.
function(varnel_add_gtest name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} varnel_gtest)
  if(VARNEL_WINDOWS)
    varnel_discover_wine_tests(${name})
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES TIMEOUT 60)
  endif()
endfunction()
