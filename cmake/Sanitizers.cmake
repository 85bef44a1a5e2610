# ZF_SANITIZE: everything built with AddressSanitizer and UndefinedBehaviorSanitizer.
# ZF_FUZZ: the libFuzzer targets in fuzz/ (clang only); every library is then instrumented for
# the fuzzer and built with both sanitizers as well.
if(ZF_FUZZ AND NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "ZF_FUZZ=ON needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
endif()

if(ZF_SANITIZE OR ZF_FUZZ)
  set(_zf_sanitizers -fsanitize=address,undefined -fno-omit-frame-pointer
                     -fno-sanitize-recover=undefined)
  target_compile_options(zf_common INTERFACE ${_zf_sanitizers})
  target_link_options(zf_common INTERFACE -fsanitize=address,undefined)
  # The leak checker reads its suppressions from the program itself, so every test and tool
  # of a sanitized build runs without extra settings.
  file(READ ${PROJECT_SOURCE_DIR}/fuzz/lsan.supp ZF_LSAN_SUPPRESSIONS)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/fuzz/lsan.supp)
  string(REPLACE "\n" "\\n" ZF_LSAN_SUPPRESSIONS "${ZF_LSAN_SUPPRESSIONS}")
  string(REPLACE "\"" "\\\"" ZF_LSAN_SUPPRESSIONS "${ZF_LSAN_SUPPRESSIONS}")
  configure_file(${PROJECT_SOURCE_DIR}/cmake/lsan_suppressions.cpp.in
                 ${CMAKE_BINARY_DIR}/generated/lsan_suppressions.cpp @ONLY)
  target_sources(zf_common INTERFACE ${CMAKE_BINARY_DIR}/generated/lsan_suppressions.cpp)
endif()
if(ZF_FUZZ)
  target_compile_options(zf_common INTERFACE -fsanitize=fuzzer-no-link)
endif()
