# Helpers that keep each module a library of its own folder and each test suite an
# executable of its own folder.

set(PICTORALIA_WARNINGS -Wall -Wextra -Wpedantic -Wshadow=local -Wno-missing-field-initializers)
if(PICTORALIA_WERROR)
  list(APPEND PICTORALIA_WARNINGS -Werror)
endif()

# pictoralia_module(NAME DEPS dep...): a static library of every .cpp in the current
# source folder (and its subfolders), named pictoralia_NAME, with src/ on the include path.
function(pictoralia_module name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    file(GLOB_RECURSE headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    add_library(pictoralia_${name} STATIC ${sources} ${headers})
    target_include_directories(pictoralia_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_compile_options(pictoralia_${name} PRIVATE ${PICTORALIA_WARNINGS})
    target_link_libraries(pictoralia_${name} PUBLIC ${ARG_DEPS})
  else()
    # A module whose issue has not come yet: nothing to compile, only its place.
    add_library(pictoralia_${name} INTERFACE)
    target_include_directories(pictoralia_${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(pictoralia_${name} INTERFACE ${ARG_DEPS})
  endif()
  add_library(pictoralia::${name} ALIAS pictoralia_${name})
endfunction()

# pictoralia_test_suite(NAME DEPS dep...): one GoogleTest executable test_NAME of every
# .cpp in the current folder; every test runs with the offscreen Qt platform.
function(pictoralia_test_suite name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(test_${name} ${sources})
  target_compile_options(test_${name} PRIVATE ${PICTORALIA_WARNINGS})
  target_include_directories(test_${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(test_${name} PRIVATE ${ARG_DEPS} pictoralia_testsupport GTest::gtest GTest::gmock)
  # One variable only: this CMake's test discovery keeps just the first entry of a
  # list-valued property. tests/support/main.cpp sets the other defaults
  # (PICTORALIA_NONINTERACTIVE=1, PICTORALIA_AUDIO=null), which children inherit.
  gtest_discover_tests(test_${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
