#!/usr/bin/env bash
# Installs what Tavirune needs on Debian 12, builds it, then either starts the
# application ("run") or runs the whole test suite ("test").
set -euo pipefail

mode="${1:-run}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

packages=(
  cmake ninja-build g++ pkg-config ccache clang-format
  qt6-base-dev libqt6sql6-sqlite libqt6opengl6-dev qt6-charts-dev qt6-svg-dev qt6-translations-l10n
  libsqlite3-dev libgcab-dev libcurl4-openssl-dev libsane-dev libjpeg62-turbo-dev sqlite3
  gcab cabextract sane-utils python3-aiosmtpd libjpeg-turbo-progs xvfb xauth fonts-dejavu-core
  desktop-file-utils appstream dpkg-dev file python3 qtkeychain-qt6-dev poppler-utils
  python3-icalendar zlib1g-dev openssl qt6-image-formats-plugins chromium
  mdbtools-dev mdbtools
)
# Node and npm cross-check the Jet files the tests write; a Node installed
# from another source already brings npm, and Debian's npm would clash with it.
if ! command -v npm >/dev/null 2>&1; then
  packages+=(nodejs npm)
fi

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

jobs="$(nproc 2>/dev/null || echo 2)"

case "$mode" in
  run)
    cmake -S "$here" -B "$here/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVIRUNE_BUILD_TESTS=OFF -DTAVIRUNE_BUILD_BENCH=OFF
    cmake --build "$here/build" -j "$jobs"
    # The program folder is the working directory of the application.
    cd "$here/build/program"
    exec ./tavirune
    ;;
  test)
    cmake -S "$here" -B "$here/build-test" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVIRUNE_WERROR=ON -DTAVIRUNE_SANITIZE=ON -DTAVIRUNE_BUILD_BENCH=ON
    # The style is checked before anything is built, so that it cannot drift.
    cmake --build "$here/build-test" --target format-check
    cmake --build "$here/build-test" -j "$jobs"
    # The independent Jet reader that the tests compare with, into the
    # build folder; without it that one test says it was skipped.
    npm install --prefix "$here/build-test/npm" --no-save --no-audit --no-fund mdb-reader@3 \
      || echo "warning: mdb-reader could not be installed; the Jet cross-check is skipped" >&2
    cd "$here/build-test"
    ctest --output-on-failure -j "$jobs"
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
