# SPDX-License-Identifier: GPL-3.0-or-later
# Shared build settings: warnings, sanitizers, and a helper that turns a
# source folder into a library target of the same name.

add_library(kovelin_options INTERFACE)
target_compile_options(kovelin_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
  -Woverloaded-virtual -Wimplicit-fallthrough)
target_include_directories(kovelin_options INTERFACE ${PROJECT_SOURCE_DIR}/src)
# Pixel loops (fills, copies, glyph blending) have run-time lengths; GCC's
# default at -O2 vectorises only loops whose length it knows.
target_compile_options(kovelin_options INTERFACE $<$<CXX_COMPILER_ID:GNU>:-fvect-cost-model=cheap>)

if(KOVELIN_SANITIZE)
  target_compile_options(kovelin_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(kovelin_options INTERFACE -fsanitize=address,undefined)
endif()

# kovelin_library(NAME DIRS dir... [DEPS target...])
# Every .cpp directly inside the listed folders belongs to the library, so a
# new file needs no edit here.
function(kovelin_library name)
  cmake_parse_arguments(ARG "" "" "DIRS;DEPS" ${ARGN})
  set(sources)
  foreach(dir IN LISTS ARG_DIRS)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  if(NOT sources)
    # A folder with no code yet: an interface target keeps dependents linking.
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE kovelin_options ${ARG_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_link_libraries(${name} PUBLIC kovelin_options ${ARG_DEPS})
endfunction()

# kovelin_test(NAME DIRS dir... DEPS target...)
# One GoogleTest program per tested library, built from every .cpp in the
# listed test folders.
function(kovelin_test name)
  cmake_parse_arguments(ARG "" "" "DIRS;DEPS" ${ARGN})
  set(sources)
  foreach(dir IN LISTS ARG_DIRS)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "KOVELIN_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()
