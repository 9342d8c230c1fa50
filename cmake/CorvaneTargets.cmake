include(CorvanePch)

# corvane_library(NAME [PCH core|widgets] SOURCES <files...> LIBS <targets...>):
# a static library of the listed sources, built on the named family of
# precompiled headers (CorvanePch.cmake). It exports its own headers, and no
# others: each listed header is linked into include/NAME/ under the path the
# sources include it by (below src/, or below the top folder for tools/ and
# sim/), and that folder is the library's public include path. A target sees
# the headers of the libraries it links and nothing else of the tree.
function(corvane_library name)
  cmake_parse_arguments(ARG "" "PCH" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  if(ARG_PCH)
    corvane_use_pch(${name} ${ARG_PCH})
  endif()
  set(_exported ${PROJECT_BINARY_DIR}/include/${name})
  set(_src ${PROJECT_SOURCE_DIR}/src)
  file(REMOVE_RECURSE ${_exported})
  foreach(source IN LISTS ARG_SOURCES)
    if(NOT source MATCHES "\\.h$")
      continue()
    endif()
    cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} OUTPUT_VARIABLE _header)
    cmake_path(IS_PREFIX _src ${_header} _in_src)
    if(_in_src)
      file(RELATIVE_PATH _path ${PROJECT_SOURCE_DIR}/src ${_header})
    else()
      file(RELATIVE_PATH _path ${PROJECT_SOURCE_DIR} ${_header})
    endif()
    cmake_path(GET _path PARENT_PATH _folder)
    file(MAKE_DIRECTORY ${_exported}/${_folder})
    file(CREATE_LINK ${_header} ${_exported}/${_path} SYMBOLIC)
  endforeach()
  target_include_directories(${name} PUBLIC ${_exported})
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
