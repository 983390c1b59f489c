#!/usr/bin/env bash
# Builds the Debian package: a Release build in build-deb/ (kept, so that a second run only
# rebuilds what changed), then CPack's DEB generator. Prints the package's path:
#   build-deb/hexatint91_<version>_<arch>.deb
# Install it with `sudo apt install ./build-deb/hexatint91_<version>_<arch>.deb`.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${HEXATINT_DEB_BUILD:-build-deb}

tools/install-deps.sh cmake ninja-build g++ qt6-base-dev libgl-dev libxcb1-dev dpkg-dev \
  file >&2

extra=()
command -v ccache >/dev/null && extra+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Debian's hardening flags (stack protector, fortified functions, read-only relocations,
# bound at load time).
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS) -Wl,-z,now"
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DHEXATINT_TESTS=OFF \
  -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
  "${extra[@]}" >&2
cmake --build "$BUILD" >&2
rm -f "$BUILD"/hexatint91_*.deb
(cd "$BUILD" && cpack -G DEB >&2)
ls "$PWD/$BUILD"/hexatint91_*.deb
