#!/usr/bin/env bash
# The two quick-start commands:
#   ./tafelbau.sh run    install what is missing, build, start the program
#   ./tafelbau.sh test   install what is missing, build, run every test headless
# to install:
#   ./tafelbau.sh install [PREFIX]   build, install below PREFIX (/usr/local), register
#                                    the menu entry, file type and icon there
#   ./tafelbau.sh package            build, make the Debian package build/tafelbau_*.deb
# and for hardening:
#   ./tafelbau.sh test-asan        every test again, built with AddressSanitizer and
#                                  UndefinedBehaviorSanitizer (build-asan/)
#   ./tafelbau.sh fuzz-build       the libFuzzer targets of fuzz/ (build-fuzz/, needs clang)
#   ./tafelbau.sh fuzz [RUNS]      builds them, runs each RUNS times (20000) on its seeds
# and for measuring the tests:
#   ./tafelbau.sh mutate [--sample N] [--timeout S] [FILE...]
#                                  small faults put into core sources one at a
#                                  time (build-mutate/); which ones the tests miss
set -euo pipefail
cd "$(dirname "$0")"

# Extra CMake arguments for every build, for example -DTAFELBAU_WERROR=ON.
read -r -a cmake_args <<< "${TAFELBAU_CMAKE_ARGS:-}"

# build [TARGET...]: configures build/ and builds the targets, or everything.
build() {
  scripts/setup.sh
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release "${cmake_args[@]}" >/dev/null
  local targets=()
  if [ $# -gt 0 ]; then targets=(--target "$@"); fi
  cmake --build build --parallel "$(nproc)" "${targets[@]}"
}

# The program with what it installs (widget library, pool, packed manual
# page): no tests, no benchmarks.
build_program() {
  build tafelbau
}

case "${1:-run}" in
  run)
    build_program
    shift || true
    if [ $# -gt 0 ]; then
      exec build/tafelbau "$@"
    fi
    if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
      exec build/tafelbau examples/demo.tbf
    fi
    # Without a display the program's main job is the batch refresh; it works
    # on a copy, so that the example in the repository keeps its date line.
    mkdir -p build/demo
    cp examples/demo.tbf build/demo/demo.tbf
    echo "No display: regenerating build/demo/demo.pbi from a copy of examples/demo.tbf instead of starting the editor."
    build/tafelbau /refreshcode build/demo/demo.pbi
    ;;
  test)
    build
    QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure --timeout 600
    ;;
  install)
    build_program
    prefix="${2:-/usr/local}"
    cmake --install build --prefix "$prefix"
    # Debian's triggers refresh these caches for /usr only; other prefixes
    # need it done here, or the menu and file manager miss the new entries.
    share="$prefix/share"
    if command -v update-mime-database >/dev/null; then update-mime-database "$share/mime"; fi
    if command -v update-desktop-database >/dev/null; then update-desktop-database -q "$share/applications"; fi
    if command -v gtk-update-icon-cache >/dev/null && [ -f "$share/icons/hicolor/index.theme" ]; then
      gtk-update-icon-cache -q "$share/icons/hicolor"
    fi
    echo "Installed: $prefix/bin/tafelbau"
    ;;
  package)
    build_program
    (cd build && cpack -G DEB)
    ;;
  test-asan)
    scripts/setup.sh
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAFELBAU_SANITIZE=ON \
      -DTAFELBAU_BUILD_BENCH=OFF "${cmake_args[@]}" >/dev/null
    cmake --build build-asan --parallel "$(nproc)"
    # Leaks of Qt's own start-up are listed in scripts/lsan.supp; ours are not.
    QT_QPA_PLATFORM=offscreen \
    ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1 \
    LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      ctest --test-dir build-asan --output-on-failure --timeout 1800
    ;;
  fuzz-build|fuzz)
    scripts/setup.sh fuzz
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
      -DTAFELBAU_FUZZ=ON >/dev/null
    cmake --build build-fuzz --parallel "$(nproc)"
    [ "$1" = fuzz ] || exit 0
    runs="${2:-20000}"
    for seeds in fuzz/corpus/*/; do
      target=$(basename "$seeds")
      # New inputs go to a corpus of the build, never into the repository's seeds.
      mkdir -p "build-fuzz/corpus/$target"
      echo "== $target: $runs runs"
      "build-fuzz/$target" -runs="$runs" -max_len=8192 -dict="fuzz/dict/$target.dict" \
        -artifact_prefix="build-fuzz/$target-" "build-fuzz/corpus/$target" "$seeds"
    done
    ;;
  mutate)
    scripts/setup.sh
    shift
    exec tools/mutate.py "$@"
    ;;
  *)
    echo "usage: $0 [run [ARGS...] | test | install [PREFIX] | package | test-asan | fuzz-build | fuzz [RUNS] | mutate [--sample N] [--timeout S] [FILE...]]" >&2
    exit 2
    ;;
esac
