#!/usr/bin/env bash
# Installs the Debian packages a goal needs, only those that are missing.
#   install-deps.sh run    building and running the program (`make run`)
#   install-deps.sh test   that, plus the test suite, the package and its checks (`make test`)
#   install-deps.sh fuzz   that, plus the fuzzing compiler (`make fuzz`)
# One line says what is installed; the package manager's own output goes to a log that is shown
# only when it fails. Without root or sudo it stops and names the packages to install.
set -euo pipefail

# Building and running the window. dpkg-dev gives the compiler's hardening flags.
run_packages=(
  cmake make g++ pkg-config dpkg-dev
  qt6-base-dev libgl-dev
  libqt6svg6
  qt6-svg-dev    # the charts' pictures are also written as SVG
  qt6-translations-l10n  # Qt's own dialogs in the user's language
  fonts-liberation
)
# The test suite, the package and its checks; one line per tool.
test_packages=(
  libgtest-dev libgmock-dev
  libbenchmark-dev
  valgrind
  desktop-file-utils appstream
  librsvg2-bin
  lintian
  mmdebstrap
  locales        # the sources a chart test makes its comma locale from
  # The desktop checks: a virtual X server with a window manager, AT-SPI on a session bus, keys,
  # window and pixel reading.
  xvfb openbox xdotool x11-utils imagemagick dbus at-spi2-core python3-pyatspi
)
fuzz_packages=(
  clang libclang-rt-dev
)

goal=${1:-run}
case "$goal" in
  run)  packages=("${run_packages[@]}"); what="building and running" ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}"); what="building, running and testing" ;;
  fuzz) packages=("${run_packages[@]}" "${test_packages[@]}" "${fuzz_packages[@]}"); what="fuzzing" ;;
  *) echo "install-deps.sh: unknown goal '$goal' (run, test or fuzz)" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null && sudo -v; then
  sudo=(sudo)
else
  echo "Packages needed for $what are missing and this user cannot install them (not root, and no sudo that works)." >&2
  echo "As root, run:  apt-get install --no-install-recommends ${missing[*]}" >&2
  exit 1
fi

echo "Installing for $what: ${missing[*]}"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
export DEBIAN_FRONTEND=noninteractive
if ! { "${sudo[@]}" apt-get update -qq && "${sudo[@]}" apt-get install -y -qq -o Dpkg::Use-Pty=0 \
         -o DPkg::Lock::Timeout=600 --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
  cat "$log" >&2
  echo "install-deps.sh: apt-get failed; the packages above are still missing" >&2
  exit 1
fi
