# Warnings are fixed, not silenced.
add_library(tavir_warnings INTERFACE)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  target_compile_options(tavir_warnings INTERFACE -Wall -Wextra -Wconversion -Wshadow -Wno-sign-conversion)
endif()
