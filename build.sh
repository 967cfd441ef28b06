#!/usr/bin/env bash
# Vardella: install what the build needs, build, then run the program or the tests.
#   ./build.sh run    start the program on the embedded demo database
#   ./build.sh test   run every test
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(build-essential cmake pkg-config qt6-base-dev qt6-base-dev-tools libqt6sql6-ibase libgl-dev
          firebird3.0-server-core firebird3.0-utils libfbclient2 firebird-dev libxml2-dev fonts-dejavu-core xvfb
          firebird3.0-server poppler-utils dpkg-dev file x11-utils)

install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  # The Firebird server package would start the machine's own service: the
  # tests start a server of their own, so the package is only unpacked.
  local policy=/usr/sbin/policy-rc.d own_policy=""
  if [ ! -e "$policy" ]; then
    printf '#!/bin/sh\nexit 101\n' | $sudo tee "$policy" >/dev/null && $sudo chmod +x "$policy" && own_policy=1
  fi
  local rc=0
  { $sudo apt-get update -q && $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"; } || rc=$?
  [ -n "$own_policy" ] && $sudo rm -f "$policy"
  return $rc
}

# Every database test a second time, on a Firebird server of the tests' own
# listening on 127.0.0.1 only; the server is stopped whatever the result.
server_tests() {
  local dir="$PWD/build/fbserver" host
  trap 'tests/server/fbserver.sh stop "$dir"' RETURN
  host=$(tests/server/fbserver.sh start "$dir" "${VARDELLA_TEST_PORT:-3059}") || return 1
  (cd build && VARDELLA_TEST_SERVER="$host" QT_QPA_PLATFORM=offscreen \
     ctest --output-on-failure -j2 -E '^layers$')
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
    rc=0
    (cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2) || rc=1
    server_tests || rc=1
    exit $rc
    ;;
  *)
    echo "uso: $0 run|test" >&2
    exit 2
    ;;
esac
