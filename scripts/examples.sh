# Builds the consumer programs of examples/ against a 64-bit build tree, as a user of the library
# would: orders through find_package after installing the tree into a scratch prefix, survey
# through add_subdirectory of the source tree. ctest runs both (tests/tools).
# shellcheck shell=bash

# tessel_build_examples <build dir>
tessel_build_examples() {
  local dir=$1 out=$1/examples launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  rm -rf "$out/prefix"
  cmake --install "$dir" --prefix "$out/prefix" >/dev/null
  local example
  for example in orders survey; do
    if [ ! -f "$out/$example/CMakeCache.txt" ]; then
      # No build type, so unoptimised: survey compiles the library again, and what counts is that it builds and runs.
      cmake -S "$TESSEL_ROOT/examples/$example" -B "$out/$example" "${launcher[@]}" \
        -DCMAKE_TOOLCHAIN_FILE="$TESSEL_ROOT/cmake/toolchain-x86_64.cmake" -DCMAKE_PREFIX_PATH="$out/prefix" >/dev/null
    fi
    cmake --build "$out/$example" -j "$TESSEL_JOBS" --target "$example"
  done
  # orders once more through the README's one compiler line, as copied by a user without CMake.
  local line
  line=$(grep -m1 '^    x86_64-w64-mingw32-g++-posix ' "$TESSEL_ROOT/README.md")
  line=${line//<dir>/$out/prefix}
  mkdir -p "$out/orders-line"
  (cd "$TESSEL_ROOT/examples/orders" && eval "${launcher:+ccache }${line/-o orders.exe/-o $out/orders-line/orders.exe}")
}
