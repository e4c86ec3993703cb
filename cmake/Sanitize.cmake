# VANTLO_SANITIZE: build everything with a sanitizer, e.g. -DVANTLO_SANITIZE=address
# (AddressSanitizer, with UndefinedBehaviorSanitizer alongside) or =undefined. Include this
# file after project() and before the subdirectories are added, so that every target takes the
# flags. When set, the damaged-input tests of the picture and disk-library test programs are
# also registered with ctest under the label "asan" (run them with `ctest -L asan`), so a CI job
# can run exactly the "input cut at many offsets never crashes" cases under the sanitizer.
include_guard(GLOBAL)

set(VANTLO_SANITIZE "" CACHE STRING "Sanitizer to build with: empty, address or undefined")
set_property(CACHE VANTLO_SANITIZE PROPERTY STRINGS "" address undefined)

# The gtest filter that picks the tests feeding cut, damaged or random input to the decoders
# and file readers (by the words their names use for it).
set(VANTLO_DAMAGED_INPUT_FILTER
    "*Damaged*:*Truncated*:*CutAt*:*HalfAJpeg*:*Fuzz*:*Garbage*:*Huge*:*PastThe*:*Short*:*BadDirector*:*Refused*")

if(VANTLO_SANITIZE)
  if(VANTLO_SANITIZE STREQUAL "address")
    set(_vantlo_sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=undefined)
  elseif(VANTLO_SANITIZE STREQUAL "undefined")
    set(_vantlo_sanitize_flags -fsanitize=undefined -fno-sanitize-recover=undefined)
  else()
    message(FATAL_ERROR "VANTLO_SANITIZE must be empty, address or undefined, not ${VANTLO_SANITIZE}")
  endif()
  add_compile_options(${_vantlo_sanitize_flags} -fno-omit-frame-pointer -g)
  add_link_options(${_vantlo_sanitize_flags})
  message(STATUS "Sanitizer: ${VANTLO_SANITIZE}")

  # The test programs are defined in subdirectories added later; register the labelled runs
  # once the top-level directory has been processed.
  function(vantlo_add_sanitizer_tests)
    foreach(program test_picture test_disklibrary)
      if(TARGET ${program})
        add_test(NAME asan.${program}.damaged_input
                 COMMAND ${program} --gtest_filter=${VANTLO_DAMAGED_INPUT_FILTER}
                         --gtest_brief=1)
        set_tests_properties(asan.${program}.damaged_input PROPERTIES
          LABELS asan
          ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
      endif()
    endforeach()
  endfunction()
  cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL vantlo_add_sanitizer_tests)
endif()
