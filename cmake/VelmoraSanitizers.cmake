# SPDX-License-Identifier: GPL-3.0-or-later
# The sanitizer builds. Included before any target is made, so that the flags
# reach every target.
#
# VELMORA_SANITIZE: AddressSanitizer (with LeakSanitizer) and
# UndefinedBehaviorSanitizer in the whole program and test suite; any
# undefined behaviour ends the run.
# VELMORA_FUZZ: the same sanitizers plus libFuzzer's coverage in every
# target, for the programs of fuzz/; clang only.

set(VELMORA_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)

if(VELMORA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "VELMORA_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  add_compile_options(${VELMORA_SANITIZER_FLAGS} -fsanitize=fuzzer-no-link)
  add_link_options(-fsanitize=address,undefined)
elseif(VELMORA_SANITIZE)
  add_compile_options(${VELMORA_SANITIZER_FLAGS})
  add_link_options(-fsanitize=address,undefined)
endif()

# The environment of every test in a sanitizer build: any leak fails the test.
set(VELMORA_SANITIZER_TEST_ENVIRONMENT "")
if(VELMORA_SANITIZE)
  set(VELMORA_SANITIZER_TEST_ENVIRONMENT
    "ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
    "UBSAN_OPTIONS=print_stacktrace=1")
endif()
