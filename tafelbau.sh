#!/usr/bin/env bash
# The two quick-start commands:
#   ./tafelbau.sh run    install what is missing, build, start the program
#   ./tafelbau.sh test   install what is missing, build, run every test headless
set -euo pipefail
cd "$(dirname "$0")"

build() {
  scripts/setup.sh
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build --parallel "$(nproc)"
}

case "${1:-run}" in
  run)
    build
    shift || true
    if [ $# -gt 0 ]; then
      exec build/tafelbau "$@"
    fi
    if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
      exec build/tafelbau examples/demo.tbf
    fi
    # Without a display the program's main job is the batch refresh.
    echo "No display: regenerating examples/demo.pbi from examples/demo.tbf instead of starting the editor."
    build/tafelbau /refreshcode examples/demo.pbi
    ;;
  test)
    build
    QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure --timeout 600
    ;;
  *)
    echo "usage: $0 [run [ARGS...] | test]" >&2
    exit 2
    ;;
esac
