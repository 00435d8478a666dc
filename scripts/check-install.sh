#!/usr/bin/env bash
# Installs the project into a temporary prefix and uses it the way another
# project would, from the installed files alone: the C example through
# find_package and through pkg-config, quiet unless asked; the example
# modules built against the installed SDK (with CMake and with pkg-config)
# and played beside the installed Flamer; the installed programs, documents
# and manual pages; the whole tree moved elsewhere. Then a math-only build,
# which needs no libpng and installs no engine or program, and a project
# that takes the math library through FetchContent from this repository.
# The build uses the sdk preset with the test and benchmark packages hidden
# from CMake, so it also shows that the preset needs none of them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-deps.sh

build=build/install-check
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"

cmake --preset sdk -B "$build" \
  -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON \
  -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON \
  -DCMAKE_DISABLE_FIND_PACKAGE_Eigen3=ON \
  -DCMAKE_DISABLE_FIND_PACKAGE_glm=ON >/dev/null
cmake --build "$build" --parallel 2
cmake --install "$build" --prefix "$prefix" >/dev/null

passed=0
failed=0
# check NAME COMMAND...: runs the command quietly and counts the result; a
# failure shows the command's output.
check() {
  local name="$1"
  shift
  if "$@" >"$work/output" 2>&1; then
    passed=$((passed + 1))
    echo "ok    $name"
  else
    failed=$((failed + 1))
    echo "FAIL  $name"
    sed 's/^/      /' "$work/output"
  fi
}

# The names a library exports, one a line, for the shared object $1.
exports() { nm -D --defined-only "$1" | awk '{print $3}'; }

has_installed_files() {
  local file
  for file in include/flamer/d3dx_math.h include/flamer/d3dx_math_version.h \
      include/flamer/zorQModule.h include/flamer/zorQObj.h lib/libd3dxmath.a \
      lib/libzorengine.so lib/flamer/libplFlamer.so bin/flamer_host bin/mipchain \
      lib/cmake/flamer/flamerConfig.cmake lib/cmake/flamer/flamerConfigVersion.cmake \
      lib/pkgconfig/d3dxmath.pc lib/pkgconfig/zorengine.pc share/doc/flamer/LICENSE \
      share/doc/flamer/README.md share/doc/flamer/CHANGELOG.md \
      share/doc/flamer/docs/engine.md share/doc/flamer/docs/math-api.md \
      share/doc/flamer/examples/plugin/plBeacon.cpp share/man/man1/flamer_host.1 \
      share/man/man1/mipchain.1; do
    [[ -e "$prefix/$file" ]] || { echo "missing: $file"; return 1; }
  done
}

# The README's links to docs/ and examples/ resolve in the installed tree.
readme_links_resolve() {
  local doc="$prefix/share/doc/flamer" link fine=0
  while IFS= read -r link; do
    [[ -e "$doc/${link%%#*}" ]] || { echo "missing: $link"; fine=1; }
  done < <(grep -oE '\]\((docs|examples)/[^)]*\)' "$doc/README.md" | sed -E 's/^\]\(//; s/\)$//')
  return "$fine"
}

# The manual pages read.
manual_pages_read() {
  man -l "$prefix/share/man/man1/flamer_host.1" | grep -q -- "--plugin" &&
    man -l "$prefix/share/man/man1/mipchain.1" | grep -q -- "--xrgb"
}

# Every operation is declared in the header a person reads.
header_declares_every_operation() {
  grep -q "^D3DXMATRIX\* D3DXMatrixMultiply(D3DXMATRIX\* pOut" "$prefix/include/flamer/d3dx_math.h" &&
    (($(grep -E '^[A-Za-z0-9_]+\*? D3DX[A-Za-z0-9]+\(' "$prefix/include/flamer/d3dx_math.h" |
      grep -cv D3DXSetDebugOutput) == 57))
}

# Every installed header compiles on its own; the math library's also as C.
headers_stand_alone() {
  local header name
  for header in "$prefix"/include/flamer/*.h; do
    name="$(basename "$header")"
    echo "#include <$name>" | c++ -std=c++20 -fsyntax-only -Wall -Wextra -Werror \
      -I"$prefix/include/flamer" -x c++ - || { echo "as C++: $name"; return 1; }
    if [[ "$name" == d3dx_math*.h ]]; then
      printf '#include <%s>\nint main(void) { return 0; }\n' "$name" |
        cc -std=c99 -fsyntax-only -Wall -Wextra -Wpedantic -Werror \
          -I"$prefix/include/flamer" -x c - || { echo "as C: $name"; return 1; }
    fi
  done
}

# What a plug-in includes stays small: each installed header, with all it
# includes, preprocesses to at most this many lines. The C headers and
# <cstdio> are cheap; <string>, <vector>, <memory>, <functional> or <map>
# alone would each exceed it.
max_header_lines=4000
headers_stay_small() {
  local header name lines fine=0
  for header in "$prefix"/include/flamer/*.h; do
    name="$(basename "$header")"
    lines="$(echo "#include <$name>" | c++ -std=c++20 -E -I"$prefix/include/flamer" -x c++ - | wc -l)"
    echo "$name: $lines lines"
    ((lines <= max_header_lines)) || { echo "  more than $max_header_lines"; fine=1; }
  done
  return "$fine"
}

# The engine's own headers (the world object, the registry class, the leak
# tracker's inspection, ...) are for the engine, the host program and the
# tests; the SDK does not ship them.
no_engine_header_is_installed() {
  local header fine=0
  for header in host/engine/*.h; do
    [[ ! -e "$prefix/include/flamer/$(basename "$header")" ]] || {
      echo "installed: $header"
      fine=1
    }
  done
  return "$fine"
}

programs_print_the_version() {
  local version
  version="$(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --modversion d3dxmath)"
  [[ -n "$version" ]] &&
    [[ "$("$prefix/bin/flamer_host" --version)" == "flamer_host (flamer) $version" ]] &&
    [[ "$("$prefix/bin/mipchain" --version)" == "mipchain (flamer) $version" ]]
}

# The host program in $1/bin loads the plug-in of the same tree by default,
# plays the built-in scenario and reports no leak; D3DX_DEBUG_OUTPUT=none
# keeps the library's selection line out of its output.
host_plays_with_its_plugin() {
  local root="$1" out="$work/host.out" err="$work/host.err"
  D3DX_DEBUG_OUTPUT=none LD_DEBUG=files "$root/bin/flamer_host" >"$out" 2>"$err"
  grep -q "file=$root/lib/flamer/libplFlamer.so .*dynamically loaded" "$err" &&
    ! grep -q "D3DX:" "$err" && grep -q "^leak report: none" "$out"
}

plugin_exports_no_math() {
  [[ -f "$prefix/lib/flamer/libplFlamer.so" ]] && ! exports "$prefix/lib/flamer/libplFlamer.so" | grep -v -e '^CreateObjClass$' -e 'zorPlFlamer'
}

c_example_with_find_package() {
  cmake -S examples/math_c -B "$work/math_c" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" &&
    cmake --build "$work/math_c" --parallel 2 && "$work/math_c/math_example"
}

# The library says nothing unless asked: a program that sets no sink of its
# own prints nothing on stderr; with D3DX_DEBUG_OUTPUT=stderr it prints the
# selection line there.
math_is_quiet_unless_asked() {
  local program="$work/quiet" err="$work/quiet.err"
  # shellcheck disable=SC2046
  printf '%s\n' '#include <d3dx_math.h>' \
    'int main(void) { D3DXVECTOR3 v = {3, 0, 4}; return D3DXVec3Normalize(&v, &v) == &v ? 0 : 1; }' |
    cc -std=c99 -Wall -Werror -x c - -o "$program" \
      $(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --cflags --libs d3dxmath) &&
    env -u D3DX_DEBUG_OUTPUT "$program" 2>"$err" && [[ ! -s "$err" ]] &&
    D3DX_DEBUG_OUTPUT=stderr "$program" 2>"$err" &&
    grep -q "^D3DX: (INFO) Using .* Instructions" "$err"
}

# $1: the installed tree to take the module from. Plain --libs: the library
# is static, and its module says what it needs.
c_example_with_pkg_config() {
  local pc="$1/lib/pkgconfig"
  # shellcheck disable=SC2046
  cc -std=c99 -Wall -Wextra -Werror -o "$work/math_pc" examples/math_c/main.c \
    $(PKG_CONFIG_PATH="$pc" pkg-config --cflags --libs d3dxmath) && "$work/math_pc"
}

# A plug-in author's module built with pkg-config alone, and played.
module_with_pkg_config() {
  local pc="$prefix/lib/pkgconfig" module="$work/pc/libplBeacon.so"
  mkdir -p "$work/pc"
  # shellcheck disable=SC2046
  c++ -std=c++20 -shared -fPIC -fvisibility=hidden -Wall -Wextra -Werror -o "$module" \
    examples/plugin/plBeacon.cpp $(PKG_CONFIG_PATH="$pc" pkg-config --cflags --libs zorengine) &&
    printf 'spawn plBeacon b pos 0 0 0\nkill b 1\n' >"$work/pc/beacon.txt" &&
    "$prefix/bin/flamer_host" --plugin "$module" "$work/pc/beacon.txt" >"$work/pc/out" &&
    grep -q "^  plBeacon b at (0, 0, 0), health 100$" "$work/pc/out" &&
    grep -q "^leak report: none$" "$work/pc/out"
}

plugin_example_builds_and_loads() {
  cmake -S examples/plugin -B "$work/plugin" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" &&
    cmake --build "$work/plugin" --parallel 2 &&
    "$work/plugin/load_plugin" "$work/plugin/libplBeacon.so" &&
    [[ -f "$work/plugin/libplBeacon.so" ]] && ! exports "$work/plugin/libplBeacon.so" | grep -v -e '^CreateObjClass$' -e 'zorPlBeacon'
}

# The example modules, built against the SDK, play beside the installed
# Flamer in the documented scenario: the Beacon's and the Flamer's effect
# starts are reported, and nothing leaks.
example_modules_play_beside_the_flamer() {
  local out="$work/modules.out"
  D3DX_DEBUG_OUTPUT=none "$prefix/bin/flamer_host" \
    --plugin "$prefix/lib/flamer/libplFlamer.so" --plugin "$work/plugin/libplBeacon.so" \
    --plugin "$work/plugin/libplSpark.so" docs/scenarios/modules/flamer-beacon-spark.txt >"$out" &&
    grep -q "^  effect plSpark started by b2 at$" "$out" &&
    grep -q "^      effect plSpark started at$" "$out" &&
    grep -q "^leak report: none$" "$out"
}

# The C example in a project that adds this one as a subdirectory: no tests,
# no benchmarks, and the same target name as the installed package.
c_example_as_subproject() {
  local parent="$work/parent"
  mkdir -p "$parent"
  cat >"$parent/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.25)
project(parent LANGUAGES C)
add_subdirectory("$PWD" flamer)
add_executable(math_example "$PWD/examples/math_c/main.c")
target_link_libraries(math_example PRIVATE flamer::d3dxmath)
CMAKE
  cmake -S "$parent" -B "$parent/build" -G Ninja \
    -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON &&
    cmake --build "$parent/build" --target math_example --parallel 2 &&
    "$parent/build/math_example"
}

check "every part is installed" has_installed_files
check "the installed README's links resolve" readme_links_resolve
check "the manual pages read" manual_pages_read
check "the header declares every operation" header_declares_every_operation
check "every installed header compiles on its own" headers_stand_alone
check "every installed header preprocesses to at most $max_header_lines lines" headers_stay_small
check "no engine header is installed" no_engine_header_is_installed
check "the programs print the package version" programs_print_the_version
check "the installed host program plays with the installed plug-in" \
  host_plays_with_its_plugin "$prefix"
check "the installed plug-in exports none of the math library" plugin_exports_no_math
check "C example: find_package(flamer) and flamer::d3dxmath" c_example_with_find_package
check "the math library is quiet unless asked" math_is_quiet_unless_asked
check "C example: pkg-config d3dxmath" c_example_with_pkg_config "$prefix"
check "C example: add_subdirectory and flamer::d3dxmath" c_example_as_subproject
check "plug-in example: built against the SDK, loaded, exports only its own" \
  plugin_example_builds_and_loads
check "example modules play beside the installed Flamer" example_modules_play_beside_the_flamer
check "a module built with pkg-config zorengine plays" module_with_pkg_config
mv "$prefix" "$work/moved"
check "the moved tree: host program and plug-in" host_plays_with_its_plugin "$work/moved"
check "the moved tree: pkg-config" c_example_with_pkg_config "$work/moved"

# The math library alone: configured with libpng hidden, it installs the
# library, its header and its package files, and nothing of the engine, the
# plug-in or the programs; the C example links it through both packages.
math_only_build() {
  local only="$work/math-only"
  cmake -S . -B build/math-only -G Ninja -DCMAKE_BUILD_TYPE=Release -DFLAMER_BUILD_ENGINE=OFF \
    -DFLAMER_BUILD_TESTS=OFF -DFLAMER_BUILD_BENCHMARKS=OFF -DCMAKE_DISABLE_FIND_PACKAGE_PNG=ON \
    >/dev/null &&
    cmake --build build/math-only --parallel 2 >/dev/null &&
    cmake --install build/math-only --prefix "$only" >/dev/null &&
    [[ -f "$only/lib/libd3dxmath.a" && -f "$only/include/flamer/d3dx_math.h" ]] &&
    [[ ! -e "$only/bin" && ! -e "$only/lib/flamer" && ! -e "$only/include/flamer/zorQObj.h" ]] &&
    ! ls "$only"/lib/libzorengine* >/dev/null 2>&1 &&
    cmake -S examples/math_c -B "$work/math_c_only" -G Ninja -DCMAKE_PREFIX_PATH="$only" \
      >/dev/null &&
    cmake --build "$work/math_c_only" >/dev/null && "$work/math_c_only/math_example" &&
    c_example_with_pkg_config "$only"
}

# A project that takes the math library from this repository through
# FetchContent: it builds the library alone, without tests or programs.
math_through_fetch_content() {
  local consumer="$work/consumer"
  mkdir -p "$consumer"
  cat >"$consumer/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.25)
project(consumer LANGUAGES C CXX)
include(FetchContent)
set(FLAMER_BUILD_ENGINE OFF)
FetchContent_Declare(flamer GIT_REPOSITORY "file://$PWD" GIT_TAG "$(git rev-parse HEAD)")
FetchContent_MakeAvailable(flamer)
add_executable(math_example "$PWD/examples/math_c/main.c")
target_link_libraries(math_example PRIVATE flamer::d3dxmath)
CMAKE
  cmake -S "$consumer" -B "$consumer/build" -G Ninja -DCMAKE_DISABLE_FIND_PACKAGE_PNG=ON \
    -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON >/dev/null &&
    cmake --build "$consumer/build" --parallel 2 >/dev/null &&
    "$consumer/build/math_example" &&
    ! cmake --build "$consumer/build" --target help | grep -q -e d3dx_bench -e flamer_host -e _tests
}

check "math-only build: no libpng, no engine, no programs" math_only_build
check "FetchContent of the math library from this repository" math_through_fetch_content

echo "install check: $passed passed, $failed failed"
((failed == 0))
