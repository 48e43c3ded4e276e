# Helpers for the core libraries: they are plain static libraries of standard C++, and the
# build refuses any of them that links Qt (their include paths then lack Qt as well, so a
# Qt include in the core fails to compile).

# The warnings the program's own code is built with (its libraries and the program; system
# headers, Qt's and GoogleTest's among them, are not judged), errors when
# PWX_WARNINGS_AS_ERRORS is on.
function(pwx_strict_warnings target)
  if(MSVC)
    return()
  endif()
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wold-style-cast -Wconversion
                                           -Wsign-conversion -Wpedantic -Wnon-virtual-dtor
                                           -Woverloaded-virtual)
  # GCC 12's false -Wrestrict (see the top-level CMakeLists.txt), left out again after -Wall.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
     AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE $<$<NOT:$<CONFIG:Debug>>:-Wno-restrict>)
  endif()
  if(PWX_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

function(pwx_core_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
  pwx_strict_warnings(${name})
endfunction()

function(pwx_check_core_is_qt_free)
  foreach(target IN LISTS ARGN)
    get_target_property(libs ${target} LINK_LIBRARIES)
    if(libs)
      foreach(lib IN LISTS libs)
        if(lib MATCHES "Qt")
          message(FATAL_ERROR "Core library ${target} must not link Qt (found ${lib})")
        endif()
      endforeach()
    endif()
  endforeach()
endfunction()

# One GoogleTest executable per core folder, registered test by test in CTest.
function(pwx_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  if(NOT PWX_BUILD_TESTS)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES PROPERTIES LABELS core)
endfunction()
