# Build helpers shared by every folder.

# orvanta_library(<name> [SOURCES files...] [DEPS targets...])
# Without SOURCES every *.cpp of the calling folder and its subfolders is
# compiled: a library's subfolders only show the roles of its files.
function(orvanta_library name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  if(A_SOURCES)
    set(srcs ${A_SOURCES})
  else()
    file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${A_DEPS})
  set_property(GLOBAL APPEND PROPERTY ORVANTA_LIBRARIES ${name})
endfunction()

# orvanta_test_suite(<name> [SOURCES globs...] [DEPS targets...] [LABELS labels...])
# One GoogleTest executable <name>_tests; without SOURCES every *.cpp of the
# calling folder. Every suite links the headless backend and its test doubles
# of the core and the media (platform/core/headless, platform/media/headless);
# a suite that needs the window system links platform_ui_headless (orvanta_screenshot
# brings it). The label "tsan" also runs the suite under ThreadSanitizer.
function(orvanta_test_suite name)
  cmake_parse_arguments(A "" "LOCK" "SOURCES;DEPS;LABELS" ${ARGN})
  if(A_SOURCES)
    file(GLOB srcs CONFIGURE_DEPENDS ${A_SOURCES})
  else()
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  set(target ${name}_tests)
  add_executable(${target} ${srcs})
  target_link_libraries(${target} PRIVATE ${A_DEPS} platform_core_headless platform_media_headless orvanta_test_support
    GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 300
    # Tests keep out of the user's own registry store.
    ENVIRONMENT ORVANTA_REGISTRY_FILE=${PROJECT_BINARY_DIR}/tests/registry)
  # Discovery flattens list-valued properties, so the labels are set by a
  # script that ctest runs after it, over the list of discovered tests.
  set(labels_script ${CMAKE_CURRENT_BINARY_DIR}/${target}_labels.cmake)
  file(WRITE ${labels_script}
    "if(${target}_TESTS)\n"
    "  set_tests_properties(\${${target}_TESTS} PROPERTIES LABELS \"${name};${A_LABELS}\")\n"
    "endif()\n")
  # Suites that share one resource (an X server started by xvfb-run -a picks
  # its display number racily) take turns.
  if(A_LOCK)
    file(APPEND ${labels_script}
      "if(${target}_TESTS)\n"
      "  set_tests_properties(\${${target}_TESTS} PROPERTIES RESOURCE_LOCK ${A_LOCK})\n"
      "endif()\n")
  endif()
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${labels_script})
  if("tsan" IN_LIST A_LABELS)
    set_property(GLOBAL APPEND PROPERTY ORVANTA_TSAN_TESTS ${target})
  endif()
  set_property(GLOBAL APPEND PROPERTY ORVANTA_TEST_TARGETS ${target})
endfunction()

# The program folder that the build assembles: executable, skins, languages.
set(ORVANTA_PROGRAM_DIR ${PROJECT_BINARY_DIR}/program)

# orvanta_program(<name> SOURCES files... [DEPS targets...])
# The program's executable, built into the program folder beside the skins and
# the language files (%app_path%), which it brings up to date with it.
function(orvanta_program name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_DEPS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ORVANTA_PROGRAM_DIR})
  # the skins are declared after the libraries; the dependency is resolved at generation
  add_dependencies(${name} default_skins)
endfunction()

# orvanta_skin(<source.xml> <output> [TARGET <name>] [NO_PICTURES])
# Compiles a skin source into <output> (a relative path lies in the program
# folder) and copies the picture files of the source's folder beside it, unless
# NO_PICTURES (when several skins share a folder, orvanta_skin_pictures copies
# them once). The build target is <name>, or one named after the output.
function(orvanta_skin source output)
  cmake_parse_arguments(A "NO_PICTURES" "TARGET" "" ${ARGN})
  get_filename_component(source ${source} ABSOLUTE)
  get_filename_component(folder ${source} DIRECTORY)
  if(NOT IS_ABSOLUTE ${output})
    set(output ${ORVANTA_PROGRAM_DIR}/${output})
  endif()
  get_filename_component(out_folder ${output} DIRECTORY)
  # the compiler checks the pictures against the source's folder, so they are
  # dependencies whoever copies them
  orvanta_skin_picture_files(pictures ${folder})
  set(copies)
  set(copy_command)
  if(pictures AND NOT A_NO_PICTURES)
    foreach(picture ${pictures})
      get_filename_component(name ${picture} NAME)
      list(APPEND copies ${out_folder}/${name})
    endforeach()
    set(copy_command COMMAND ${CMAKE_COMMAND} -E copy_if_different ${pictures} ${out_folder})
  endif()
  add_custom_command(OUTPUT ${output} ${copies}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out_folder}
    COMMAND orvanta-skinc --pictures ${folder} ${source} ${output}
    ${copy_command}
    DEPENDS orvanta-skinc ${source} ${pictures}
    COMMENT "Compiling skin ${output}"
    VERBATIM)
  if(A_TARGET)
    set(target ${A_TARGET})
  else()
    file(RELATIVE_PATH relative ${PROJECT_BINARY_DIR} ${output})
    string(MAKE_C_IDENTIFIER "skin_${relative}" target)
  endif()
  add_custom_target(${target} ALL DEPENDS ${output} ${copies})
endfunction()

# The picture files of a skin folder, by name.
function(orvanta_skin_picture_files out folder)
  file(GLOB files CONFIGURE_DEPENDS ${folder}/*.png ${folder}/*.bmp ${folder}/*.gif ${folder}/*.jpg)
  set(${out} ${files} PARENT_SCOPE)
endfunction()

# orvanta_skin_pictures(<folder> <output folder> TARGET <name>)
# Copies the picture files of a skin folder into <output folder> once, for the
# skins of that folder compiled with NO_PICTURES.
function(orvanta_skin_pictures folder out_folder)
  cmake_parse_arguments(A "" "TARGET" "" ${ARGN})
  orvanta_skin_picture_files(pictures ${folder})
  set(copies)
  foreach(picture ${pictures})
    get_filename_component(name ${picture} NAME)
    list(APPEND copies ${out_folder}/${name})
  endforeach()
  add_custom_command(OUTPUT ${copies}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out_folder}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${pictures} ${out_folder}
    DEPENDS ${pictures}
    COMMENT "Copying the pictures of ${folder}"
    VERBATIM)
  add_custom_target(${A_TARGET} ALL DEPENDS ${copies})
endfunction()
