# Settings every target of ours shares: the language level, warnings as errors,
# and the Qt defines that keep string handling explicit.
add_library(tova_common INTERFACE)
target_compile_features(tova_common INTERFACE cxx_std_20)
target_compile_options(tova_common INTERFACE -Wall -Wextra -Werror)
target_compile_definitions(tova_common INTERFACE QT_NO_KEYWORDS QT_USE_QSTRINGBUILDER)

option(TOVA_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(TOVA_SANITIZE)
  target_compile_options(tova_common INTERFACE -fsanitize=address,undefined
                                               -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(tova_common INTERFACE -fsanitize=address,undefined)
endif()

# Fuzz targets (tests/fuzz): libFuzzer with AddressSanitizer and
# UndefinedBehaviorSanitizer. Every library is instrumented for coverage; only
# the fuzz executables link libFuzzer's main.
option(TOVA_FUZZ "Build the libFuzzer targets under tests/fuzz (clang only)" OFF)
if(TOVA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "TOVA_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  if(TOVA_SANITIZE)
    message(FATAL_ERROR "TOVA_FUZZ already builds with the sanitizers: leave TOVA_SANITIZE off")
  endif()
  target_compile_options(tova_common INTERFACE -fsanitize=fuzzer-no-link,address,undefined
                                               -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(tova_common INTERFACE -fsanitize=address,undefined)
endif()

# tova_add_test(<name> SOURCES ... LIBS ...): one test executable per unit,
# registered with CTest under <name>, run offscreen.
function(tova_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE tova_common tova_testmain ${T_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TOVA_SOURCE_DIR=${PROJECT_SOURCE_DIR};TOVA_BUILD_DIR=${PROJECT_BINARY_DIR}"
    TIMEOUT 600)
endfunction()

# Rebuilds of the same sources (several work trees, CI's two builds) reuse
# compiled objects when ccache is installed.
find_program(TOVA_CCACHE ccache)
if(TOVA_CCACHE)
  set(CMAKE_CXX_COMPILER_LAUNCHER ${TOVA_CCACHE} CACHE STRING "")
endif()
