#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that are missing.
# Sourced by run.sh and test.sh.
set -euo pipefail

FITQUILL_PACKAGES=(
  cmake ninja-build g++ git pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  qt6-base-dev xvfb xauth xdotool fonts-wine
  python3-pyatspi at-spi2-core dbus dbus-daemon
  libpalm-perl
  appstream desktop-file-utils poppler-utils dpkg-dev fakeroot file lintian
)

fitquill_missing_packages() {
  local missing=() p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  echo "${missing[@]:-}"
}

fitquill_setup() {
  local missing
  missing=$(fitquill_missing_packages "${FITQUILL_PACKAGES[@]}")
  if [ -n "$missing" ]; then
    echo "Installing missing packages: $missing"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends $missing
  fi
}

# Configures (once) and builds one build folder: fitquill_build DIR [cmake options...]
fitquill_build() {
  local dir=$1
  shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  fi
  cmake --build "$dir" --parallel "$(nproc)"
}
