# Shared build settings for the project's own targets.

# Warnings as errors for code we write (not for third-party headers).
function(flamer_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
endfunction()

# One test program per test folder: every *.cpp in the calling folder, linked
# with GoogleTest/GoogleMock and the given libraries, registered with CTest.
# A folder marked CONCURRENCY holds suites named "*Concurrency*"; its program
# is part of the concurrency_tests target that the ThreadSanitizer preset
# builds, and that preset runs only the tests whose names match Concurrency.
function(flamer_test_dir name)
  cmake_parse_arguments(ARG "CONCURRENCY" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  flamer_warnings(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  if(ARG_CONCURRENCY)
    add_dependencies(concurrency_tests ${name})
  endif()
endfunction()
