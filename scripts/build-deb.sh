#!/usr/bin/env bash
# Builds the Debian package fitquill_<version>_amd64.deb with CPack and checks it with lintian.
#   scripts/build-deb.sh [BUILD_DIR]     (default: build-deb, a Release build)
# Installs what is missing first, like run.sh. Prints the package's path; the exit status is
# non-zero when the build fails or lintian reports an error.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
fitquill_setup
dir=${1:-build-deb}
if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DFITQUILL_TESTS=OFF \
        -DFITQUILL_BENCH=OFF
fi
cmake --build "$dir" --parallel "$(nproc)"
rm -f "$dir"/fitquill_*.deb
(cd "$dir" && cpack -G DEB)
package=$(ls "$dir"/fitquill_*_amd64.deb)
echo "Checking $package with lintian"
lintian --fail-on error "$package"
echo "$package"
