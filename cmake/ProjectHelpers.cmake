# Shared build settings for the project's own targets.

# Warnings as errors for code we write (not for third-party headers).
function(flamer_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
endfunction()

# A test program from the given sources, linked with GoogleTest/GoogleMock
# and the given libraries; its tests are registered with CTest under the
# given labels (none when empty). A parameterised test is named by its name
# generator alone, without the printed parameter.
# FLAMER_SANITIZED is 1 in a build with a sanitizer, whose programs run
# slower and ignore memory limits, so that tests can take fewer samples or
# skip a limit.
function(flamer_test_program name sources libs labels)
  add_executable(${name} ${sources})
  flamer_warnings(${name})
  if(CMAKE_CXX_FLAGS MATCHES "-fsanitize=")
    target_compile_definitions(${name} PRIVATE FLAMER_SANITIZED=1)
  else()
    target_compile_definitions(${name} PRIVATE FLAMER_SANITIZED=0)
  endif()
  target_link_libraries(${name} PRIVATE ${libs} GTest::gmock_main)
  if(labels)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES PROPERTIES LABELS "${labels}")
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES)
  endif()
endfunction()

# The test programs of the calling folder. Concurrency tests live in files
# named *concurrency_test.cpp; they make a program of their own,
# <name>_concurrency, whose tests carry the CTest label "concurrency" and
# which the concurrency_tests target builds. The ThreadSanitizer preset builds
# that target and runs the tests with that label, so a test is picked by the
# file it lives in, whatever its suite is called. Every other *.cpp of the
# folder makes the program <name>. A folder marked CONCURRENCY must hold
# concurrency tests.
function(flamer_test_dir name)
  cmake_parse_arguments(ARG "CONCURRENCY" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  set(concurrency_sources ${sources})
  list(FILTER concurrency_sources INCLUDE REGEX "concurrency_test\\.cpp$")
  if(ARG_CONCURRENCY AND NOT concurrency_sources)
    message(FATAL_ERROR "${CMAKE_CURRENT_SOURCE_DIR} is marked CONCURRENCY but has no "
                        "*concurrency_test.cpp file")
  endif()
  if(concurrency_sources)
    list(REMOVE_ITEM sources ${concurrency_sources})
    flamer_test_program(${name}_concurrency "${concurrency_sources}" "${ARG_LIBS}" concurrency)
    add_dependencies(concurrency_tests ${name}_concurrency)
  endif()
  if(sources)
    flamer_test_program(${name} "${sources}" "${ARG_LIBS}" "")
  endif()
endfunction()
