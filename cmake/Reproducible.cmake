# Settings of a release build, whose output must not depend on where or when it is built.
# scripts/release.sh loads it after the project() call: -DCMAKE_PROJECT_INCLUDE=<this file>.
# Source and build folders leave no path in the binaries (__FILE__, debug records).
add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=
                    -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
# Nothing to debug in a release: no symbols, so nothing beyond the code itself can differ.
add_link_options(-s)
if(WIN32)
  # The PE header's time stamp would be the time of the link.
  add_link_options(-Wl,--no-insert-timestamp)
else()
  # The tool runs on other distributions: the C++ runtime goes in, only the C library is the system's.
  add_link_options(-static-libstdc++ -static-libgcc)
endif()
