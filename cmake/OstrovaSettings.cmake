# One interface target carries the build settings every target of the project shares.
add_library(ostrova_settings INTERFACE)
target_compile_features(ostrova_settings INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
target_compile_options(ostrova_settings INTERFACE -Wall -Wextra -Wpedantic)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(ostrova_settings INTERFACE -Wshadow=local)
endif()
if(OSTROVA_WERROR)
  target_compile_options(ostrova_settings INTERFACE -Werror)
endif()
# gcc 12 at -O3 (the Release type) takes std::string's own copies for overlapping ones
# (gcc PR 105651) and warns in any code that joins or assigns strings; that warning says nothing here.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(ostrova_settings INTERFACE $<$<CONFIG:Release>:-Wno-restrict>)
endif()
target_compile_definitions(ostrova_settings INTERFACE _FILE_OFFSET_BITS=64)
target_include_directories(ostrova_settings INTERFACE ${CMAKE_SOURCE_DIR})

if(OSTROVA_SANITIZE)
  set(_san -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_compile_options(ostrova_settings INTERFACE ${_san})
  target_link_options(ostrova_settings INTERFACE ${_san})
endif()
