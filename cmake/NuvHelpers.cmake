# Helpers that keep the per-folder CMakeLists.txt files to a few lines.

set(NUV_WARNINGS -Wall -Wextra)
if(NUV_WERROR)
  list(APPEND NUV_WARNINGS -Werror)
endif()

set(NUV_SANITIZER_FLAGS "")
if(NUV_SANITIZE)
  set(NUV_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  if(NUV_FUZZ)
    list(APPEND NUV_SANITIZER_FLAGS -fsanitize=fuzzer-no-link)
  endif()
endif()

# Adds every direct subfolder of DIR that has a CMakeLists.txt.
function(nuv_add_subdirectories dir)
  file(GLOB children RELATIVE ${PROJECT_SOURCE_DIR}/${dir} ${PROJECT_SOURCE_DIR}/${dir}/*)
  list(SORT children)
  foreach(child IN LISTS children)
    if(EXISTS ${PROJECT_SOURCE_DIR}/${dir}/${child}/CMakeLists.txt)
      add_subdirectory(${PROJECT_SOURCE_DIR}/${dir}/${child} ${PROJECT_BINARY_DIR}/${dir}/${child})
    endif()
  endforeach()
endfunction()

function(nuv_apply_flags target)
  target_compile_options(${target} PRIVATE ${NUV_WARNINGS} ${NUV_SANITIZER_FLAGS})
  target_link_options(${target} PRIVATE ${NUV_SANITIZER_FLAGS})
endfunction()

# nuv_add_library(name [QT] SOURCES ... DEPS ...)
# A core library (no QT) must not link Qt: that keeps the core GUI-free.
function(nuv_add_library name)
  cmake_parse_arguments(A "QT" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${A_DEPS})
  nuv_apply_flags(${name})
  if(NOT A_QT)
    set_property(GLOBAL APPEND PROPERTY NUV_CORE_LIBRARIES ${name})
  endif()
endfunction()

# nuv_add_test(name [GUI] SOURCES ... DEPS ...)
# Registers one ctest entry per test program, labelled core or gui.
function(nuv_add_test name)
  cmake_parse_arguments(A "GUI" "" "SOURCES;DEPS" ${ARGN})
  if(A_GUI AND NOT NUV_GUI)
    return()
  endif()
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_DEPS} GTest::gtest GTest::gmock)
  if(NOT A_GUI)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_compile_definitions(${name} PRIVATE
    NUV_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    NUV_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/data")
  nuv_apply_flags(${name})
  add_test(NAME ${name} COMMAND ${name})
  if(A_GUI)
    set_tests_properties(${name} PROPERTIES LABELS gui ENVIRONMENT QT_QPA_PLATFORM=offscreen)
  else()
    set_tests_properties(${name} PROPERTIES LABELS core)
  endif()
endfunction()

# nuv_add_fuzzer(name SOURCES ... DEPS ...): a libFuzzer target; its seed
# corpus is the folder corpus/<name> beside its source.
function(nuv_add_fuzzer name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_DEPS})
  nuv_apply_flags(${name})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_property(GLOBAL APPEND PROPERTY NUV_FUZZERS "$<TARGET_FILE:${name}> ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${name}")
endfunction()

# nuv_add_bench(name SOURCES ... DEPS ...): a benchmark program. Every one
# accepts --smoke; scripts/test.sh runs each program of the list in that mode
# and scripts/bench.sh at full size.
function(nuv_add_bench name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_DEPS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/bench)
  nuv_apply_flags(${name})
  set_property(GLOBAL APPEND PROPERTY NUV_BENCHES "$<TARGET_FILE:${name}>")
endfunction()
