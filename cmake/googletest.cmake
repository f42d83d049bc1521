# GoogleTest is built from the sources Debian's googletest package installs.
set(TESSEL_GTEST_SRC "/usr/src/googletest" CACHE PATH "GoogleTest source tree")
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${TESSEL_GTEST_SRC} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# tessel_add_gtest(name SOURCES ... LIBS ... [LOCK resource])
function(tessel_add_gtest name)
  cmake_parse_arguments(T "" "LOCK" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gmock gtest)  # main: tests/support/TestMain.cpp
  # One ctest entry per program, all of its tests in one process: starting a process under Wine
  # costs more than most tests take. GTEST_FILTER in the environment picks tests inside it.
  add_test(NAME ${name} COMMAND ${name})
  if(T_LOCK)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK ${T_LOCK})
  endif()
endfunction()
