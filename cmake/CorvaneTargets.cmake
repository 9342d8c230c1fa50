include(CorvanePch)

# corvane_library(NAME [PCH core|widgets] SOURCES <files...> LIBS <targets...>):
# a static library of the listed sources, built on the named family of
# precompiled headers (CorvanePch.cmake). Every library sees src/ (and the
# generated common/version.h) as its include root.
function(corvane_library name)
  cmake_parse_arguments(ARG "" "PCH" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  if(ARG_PCH)
    corvane_use_pch(${name} ${ARG_PCH})
  endif()
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}
                                            ${PROJECT_BINARY_DIR}/generated)
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()
# corvane_test(NAME [PROGRAMS <regex...>] LIBS <targets...>): every *_test.cpp
# of the folder in one GoogleTest executable with the shared main
# (corvane_test_main, whose precompiled header it reuses), each case its own
# CTest test, run offscreen. Each case is labelled: "program" when its name
# matches one of PROGRAMS (it starts programs, servers or the simulator on a
# pseudo-terminal), else "unit" (ctest -L unit runs the fast ones).
function(corvane_test name)
  cmake_parse_arguments(ARG "" "" "LIBS;PROGRAMS" ${ARGN})
  file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT _tests)
    return()
  endif()
  add_executable(${name} ${_tests})
  target_precompile_headers(${name} REUSE_FROM corvane_test_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} corvane_test_main GTest::gmock Qt6::Test)
  target_compile_definitions(${name} PRIVATE
    CORVANE_BUILD_DIR="${CMAKE_BINARY_DIR}"
    CORVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)
  # Runs in CTest after the discovery above, which lists the cases in ${name}_TESTS.
  set(_labels ${CMAKE_CURRENT_BINARY_DIR}/${name}_labels.cmake)
  set(_patterns "")
  foreach(pattern IN LISTS ARG_PROGRAMS)
    string(APPEND _patterns " [=[${pattern}]=]")
  endforeach()
  file(WRITE ${_labels} "foreach(test IN LISTS ${name}_TESTS)
  set(label unit)
  foreach(pattern IN ITEMS${_patterns})
    if(test MATCHES \"\${pattern}\")
      set(label program)
    endif()
  endforeach()
  set_tests_properties(\"\${test}\" PROPERTIES LABELS \${label})
endforeach()
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${_labels})
endfunction()
