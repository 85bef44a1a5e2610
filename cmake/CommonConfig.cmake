# One interface target carries the language level, warnings and Qt's strictness for every
# library and executable of the project.
add_library(zf_common INTERFACE)
target_compile_features(zf_common INTERFACE cxx_std_20)
target_compile_options(zf_common INTERFACE -Wall -Wextra -Wpedantic)
if(ZF_WERROR)
  target_compile_options(zf_common INTERFACE -Werror)
endif()
target_compile_definitions(zf_common INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CAST_TO_ASCII
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
