#!/usr/bin/env bash
# Vardella: install what the build needs, build, then run the program or the tests.
#   ./build.sh run    start the program on the embedded demo database
#   ./build.sh test   run every test
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(build-essential cmake pkg-config qt6-base-dev qt6-base-dev-tools libqt6sql6-ibase libgl-dev
          firebird3.0-server-core firebird3.0-utils libfbclient2 firebird-dev libxml2-dev fonts-dejavu-core xvfb)

install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

build() {
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build build -j"$(nproc)"
}

case "${1:-}" in
  run)
    install_packages
    build
    exec ./build/bin/vardella
    ;;
  test)
    install_packages
    build
    cd build
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
    ;;
  *)
    echo "uso: $0 run|test" >&2
    exit 2
    ;;
esac
