# Build helpers shared by every part of the tree.

add_compile_options(-Wall -Wextra)
# GCC 12 at -O3 reports overlaps inside std::string concatenation that cannot happen
# (its -Wrestrict false positive in char_traits::copy); later versions do not.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  add_compile_options(-Wno-restrict)
endif()
if(POLYSHIFT_SANITIZE)
  add_compile_options(-fsanitize=${POLYSHIFT_SANITIZE} -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${POLYSHIFT_SANITIZE})
endif()

# Adds every direct subfolder of DIR that holds a CMakeLists.txt, in name order, so that a
# new plug-in, test group or benchmark only needs its own folder.
# Names given after EXCEPT are left out.
function(polyshift_add_children dir)
  cmake_parse_arguments(ARG "" "" "EXCEPT" ${ARGN})
  file(GLOB children LIST_DIRECTORIES true CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*)
  list(SORT children)
  foreach(child IN LISTS children)
    get_filename_component(childName ${child} NAME)
    if(childName IN_LIST ARG_EXCEPT)
      continue()
    endif()
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# polyshift_add_plugin(<name> SOURCES ... [LIBRARIES ...])
# Builds plugin/<name>.so exporting the contract's entry points and nothing else. A plug-in
# carries its own copy of the runtime's code and imports nothing of ours: it loads from any
# folder, in any host.
function(polyshift_add_plugin name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_library(${name} MODULE ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE polyshift_contract ${ARG_LIBRARIES}
                        polyshift_plugin_runtime)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/plugins/common)
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    LIBRARY_OUTPUT_DIRECTORY ${POLYSHIFT_PLUGIN_DIR}
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  if(WIN32)
    # The decorated names come from a module-definition file: the plug-in's own <name>.def
    # when it has more entry points than the seven every plug-in has.
    set(exports ${PROJECT_SOURCE_DIR}/cmake/plugin-exports.def)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${name}.def)
      set(exports ${CMAKE_CURRENT_SOURCE_DIR}/${name}.def)
    endif()
    target_link_options(${name} PRIVATE ${exports})
    set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${exports})
    install(TARGETS ${name} LIBRARY DESTINATION plugin)
    set_property(GLOBAL APPEND PROPERTY POLYSHIFT_PLUGINS ${name})
    return()
  endif()
  target_link_options(${name} PRIVATE
    -Wl,--version-script=${PROJECT_SOURCE_DIR}/cmake/plugin-exports.map)
  # Every symbol resolved at link time, except where clang's sanitizer and fuzzer runtimes are
  # in play: those live in the executable alone, and a plug-in leaves their symbols to it.
  if(NOT (POLYSHIFT_FUZZ OR (POLYSHIFT_SANITIZE AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")))
    target_link_options(${name} PRIVATE -Wl,--no-undefined)
  endif()
  set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS
               ${PROJECT_SOURCE_DIR}/cmake/plugin-exports.map)
  install(TARGETS ${name} LIBRARY DESTINATION ${POLYSHIFT_INSTALL_DIR}/plugin)
  set_property(GLOBAL APPEND PROPERTY POLYSHIFT_PLUGINS ${name})
endfunction()

# polyshift_add_test(<name> SOURCES ... [LIBRARIES ...] [VECTOR_LEVELS])
# A GoogleTest executable registered with CTest. It knows where the built plug-ins are
# (POLYSHIFT_PLUGIN_DIR) and is built after all of them.
# With VECTOR_LEVELS the whole program also runs once per vector level the plug-ins have code
# for (<name>.isa-sse2, ...), held to it by POLYSHIFT_ISA; a level the processor lacks is
# reported as skipped.
set(POLYSHIFT_VECTOR_LEVELS sse2 avx2 avx512)
function(polyshift_add_test name)
  cmake_parse_arguments(ARG "VECTOR_LEVELS" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE polyshift_testsupport ${ARG_LIBRARIES}
                        GTest::gtest GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "LC_ALL=C.UTF-8")
  if(ARG_VECTOR_LEVELS)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/vector_level_check.cpp)
    foreach(level IN LISTS POLYSHIFT_VECTOR_LEVELS)
      add_test(NAME ${name}.isa-${level} COMMAND ${name})
      set_tests_properties(${name}.isa-${level} PROPERTIES
        ENVIRONMENT "LC_ALL=C.UTF-8;POLYSHIFT_ISA=${level}" SKIP_RETURN_CODE 77)
    endforeach()
  endif()
endfunction()

# polyshift_add_benchmark(<name> SOURCES ... [LIBRARIES ...])
function(polyshift_add_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE polyshift_benchsupport ${ARG_LIBRARIES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()

# polyshift_add_test_plugin(<name> SOURCES ... [DEFINITIONS ...])
# A plug-in made only for tests, built into <build>/tests/plugins/<name>.so (never into the
# program's plug-in folder). Tests copy the ones a case needs into a folder of their own.
function(polyshift_add_test_plugin name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEFINITIONS" ${ARGN})
  add_library(${name} MODULE ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE polyshift_contract polyshift_plugin_runtime)
  target_compile_definitions(${name} PRIVATE ${ARG_DEFINITIONS})
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/plugins)
  if(NOT WIN32)
    # The runtime's code stays the plug-in's own: none of it is exported, so none of it stands
    # in for the program's runtime library, nor the other way round.
    target_link_options(${name} PRIVATE -Wl,--exclude-libs,ALL)
  endif()
  if(WIN32)
    # Exported under the decorated names like a shipped plug-in; the test plug-ins' switches
    # TP_NO_VERSION, TP_REGEXP, TP_IS_TEXT and TP_RECORDING leave out or add an entry point.
    set(entries GetCount@0 GetTitle@4 IsUseTable@4 GetBufferSize@4 Convert@4 RenameFile@12)
    if(NOT "TP_NO_VERSION" IN_LIST ARG_DEFINITIONS)
      list(PREPEND entries GetVersion@0)
    endif()
    if("TP_REGEXP" IN_LIST ARG_DEFINITIONS)
      list(APPEND entries RegExp@8)
    endif()
    if(ARG_DEFINITIONS MATCHES "TP_IS_TEXT=")
      list(APPEND entries IsTextFunction@4)
    endif()
    if("TP_RECORDING" IN_LIST ARG_DEFINITIONS)
      list(APPEND entries TestCalls@4)
    endif()
    set(exports "EXPORTS\n")
    foreach(entry IN LISTS entries)
      string(APPEND exports "    _Xfm${entry} = Xfm${entry}\n")
    endforeach()
    set(def ${CMAKE_CURRENT_BINARY_DIR}/${name}.def)
    file(CONFIGURE OUTPUT ${def} CONTENT "${exports}")
    target_link_options(${name} PRIVATE ${def})
  endif()
endfunction()
