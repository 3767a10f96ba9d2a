# Shared helpers for the module CMakeLists files.

function(varexa_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
endfunction()

# varexa_library(NAME [SHARED] SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
# Headers are found from the repository root, e.g. #include "common/records/ChannelStruct.h".
function(varexa_library name)
  cmake_parse_arguments(A "SHARED" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  if(A_SHARED)
    add_library(${name} SHARED ${A_SOURCES})
  else()
    add_library(${name} STATIC ${A_SOURCES})
  endif()
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${A_PUBLIC_LIBS} PRIVATE ${A_PRIVATE_LIBS})
  varexa_warnings(${name})
endfunction()

# varexa_test(NAME SOURCES ... LIBS ... [QT])
# One GoogleTest executable; QT marks tests that need Qt (they carry the label "qt").
function(varexa_test name)
  cmake_parse_arguments(A "QT" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tests)
  varexa_warnings(${name})
  if(A_QT)
    set(labels qt)
  else()
    set(labels core)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
    # One variable only: a list here would be split into separate properties. Qt tests pick
    # the offscreen platform themselves (platform/qt/testing/QtTestApp.h).
    PROPERTIES LABELS "${labels}" ENVIRONMENT "VAREXA_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()
