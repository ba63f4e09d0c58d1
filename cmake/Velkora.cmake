# velkora_library(NAME DIR [DEPS ...]): a static library of every .cpp below DIR.
function(velkora_library name dir)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${dir}/*.cpp")
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_compile_options(${name} PRIVATE ${VELKORA_WARNINGS})
  if(ARGN)
    target_link_libraries(${name} PUBLIC ${ARGN})
  endif()
endfunction()

# velkora_test(NAME DIR LIBS... [ENV var=value ...] [MAIN file]): one GoogleTest program of every
# .cpp below DIR. MAIN (relative to tests/) replaces GoogleTest's main, e.g. to create a QApplication.
function(velkora_test name dir)
  cmake_parse_arguments(T "" "MAIN" "LIBS;ENV;LABELS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${dir}/*.cpp")
  if(NOT sources)
    return()
  endif()
  if(T_MAIN)
    list(APPEND sources "${T_MAIN}")
    set(gtest_entry GTest::gtest)
  else()
    set(gtest_entry GTest::gtest_main)
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/src" "${PROJECT_SOURCE_DIR}/tests")
  target_compile_options(${name} PRIVATE ${VELKORA_WARNINGS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock ${gtest_entry})
  # The environment goes in front of the program as "cmake -E env A=1 B=2", so that it holds for
  # listing the tests at build time too, and so that several variables survive (a list in the
  # ENVIRONMENT property is split into separate arguments on its way through the discovery).
  if(T_ENV)
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${CMAKE_COMMAND};-E;env;${T_ENV}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS "${T_LABELS}")
endfunction()
