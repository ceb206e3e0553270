#!/bin/bash
# Configures a build with the compiler and linker flags of Debian's own packages (hardening
# included), so that what is built and tried is what the package ships. Quiet unless cmake
# fails; its output goes to BUILD/configure.log.
#
#   scripts/configure.sh SOURCE BUILD BUILD_TYPE ON|OFF   (the last: tests and benchmarks)
set -euo pipefail
Source=$1 Build=$2 Type=$3 Tests=$4
mkdir -p "$Build"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)" \
    cmake -S "$Source" -B "$Build" -DCMAKE_BUILD_TYPE="$Type" -DLAB_BUILD_TESTS="$Tests" \
    -DLAB_BUILD_BENCH="$Tests" >"$Build/configure.log" 2>&1 || { cat "$Build/configure.log"; exit 1; }
