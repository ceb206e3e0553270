#!/usr/bin/env bash
# Installs the Debian packages a goal needs, only those that are missing.
#   install-deps.sh run    building and running the program (`make run`)
#   install-deps.sh test   that, plus the test suite, the package and its checks (`make test`)
#   install-deps.sh fuzz   that, plus the fuzzing compiler (`make fuzz`)
#   install-deps.sh web    the WebAssembly build of the core and the chart (`make web`)
# Building and running need what debian/control names: the Build-Depends, and the program's own
# Depends and Recommends. Every need is written in Debian's dependency notation; where Debian 12 and 13 name a
# thing differently it is a choice ("qt6-svg-plugins | libqt6svg6 (<< 6.5~)"), and apt takes
# the first alternative the release has. One line says what is installed; the package manager's
# own output goes to a log that is shown only when it fails. Without root or sudo it stops and
# names what to install.
set -euo pipefail
cd "$(dirname "$0")/.."

# The whole value of a field of the N-th paragraph of debian/control, continuation lines joined.
control_field() { # paragraph field
    awk -v para="$1" -v want="$2" '
        BEGIN { p = 1 }
        /^[ \t]*$/ { p++; cur = ""; next }
        p != para { next }
        /^[^ \t#]/ { cur = $0; sub(/:.*/, "", cur); if (cur == want) { v = $0; sub(/^[^:]*:/, "", v); out = out v } ; next }
        cur == want { out = out $0 }
        END { print out }' debian/control
}

# Build-essential is what every Build-Depends takes for granted; the substitution variables of
# the binary's Depends are filled in from the program when it is packaged. What the package
# recommends (Qt's translations of its own dialogs) comes with it too.
run_needs="build-essential, $(control_field 1 Build-Depends), $(control_field 2 Depends), $(control_field 2 Recommends)"
# The test suite, the package and its checks; one line per tool.
test_needs=(
  libgtest-dev libgmock-dev
  libbenchmark-dev
  valgrind
  desktop-file-utils appstream
  lintian
  mmdebstrap
  git            # the package's version counts the commits
  locales        # the sources a chart test makes its comma locale from
  # The desktop checks: a virtual X server with a window manager, AT-SPI on a session bus, keys,
  # window and pixel reading.
  xvfb openbox xdotool x11-utils imagemagick dbus at-spi2-core python3-pyatspi
  # The same program on a Wayland compositor, and its screenshots there.
  weston qt6-wayland
  # The page in real browsers: Chromium driven by accessible names, Firefox ESR over Marionette.
  chromium chromium-driver python3-selenium
  firefox-esr libfirefox-marionette-perl
)
fuzz_needs=(
  clang libclang-rt-dev
)
# The WebAssembly build: Debian 13's emscripten and node. Debian 12's emscripten is too old
# for it, so there (base-files 12) the build runs in a Debian 13 root that mmdebstrap makes.
web_needs=(
  cmake make
  "emscripten (>= 3.1.69) | base-files (<< 13~)"
  "nodejs | base-files (<< 13~)"
  "mmdebstrap | base-files (>= 13~)"
  # The page's own faces, compressed by woff2, its archive, and the server of make run-web.
  "woff2 | base-files (<< 13~)"
  "fonts-liberation-sans-narrow | base-files (<< 13~)"
  zip python3
)

goal=${1:-run}
case "$goal" in
  run)  needs=$run_needs; what="building and running" ;;
  test) needs="$run_needs, $(IFS=,; echo "${test_needs[*]},${web_needs[*]}")"; what="building, running and testing" ;;
  fuzz) needs="$run_needs, $(IFS=,; echo "${test_needs[*]},${fuzz_needs[*]}")"; what="fuzzing" ;;
  web)  needs=$(IFS=,; echo "${web_needs[*]}"); what="the WebAssembly build" ;;
  *) echo "install-deps.sh: unknown goal '$goal' (run, test, fuzz or web)" >&2; exit 2 ;;
esac

# One need per element, blanks folded, the substitution variables left out; debhelper's compat
# level is a virtual package that names the least debhelper.
mapfile -t groups < <(tr -s ' \t\n' ' ' <<<"$needs" | sed 's/\${[^}]*}//g' | tr ',' '\n' \
                      | sed 's/^ *//; s/ *$//; s/^debhelper-compat (= *\([0-9]*\))$/debhelper (>= \1)/' \
                      | grep -v '^$')

# A need is met when one of its alternatives is installed at a version that fits.
installed() { # "name" or "name (op version)"
    local name=${1%% *} rel version have
    have=$(dpkg-query -W -f='${Status} ${Version}' "$name" 2>/dev/null) || return 1
    [[ $have == "install ok installed "* ]] || return 1
    [[ $1 == *"("* ]] || return 0
    rel=$(sed 's/.*(\([<>=]*\) *\([^)]*\)).*/\1/' <<<"$1")
    version=$(sed 's/.*(\([<>=]*\) *\([^)]*\)).*/\2/' <<<"$1")
    case "$rel" in "<<") rel=lt ;; "<=") rel=le ;; "=") rel=eq ;; ">=") rel=ge ;; ">>") rel=gt ;; esac
    dpkg --compare-versions "${have##* }" "$rel" "$version"
}
missing=()
for group in "${groups[@]}"; do
    met=false
    IFS='|' read -ra alternatives <<<"$group"
    for alternative in "${alternatives[@]}"; do
        alternative=$(sed 's/^ *//; s/ *$//' <<<"$alternative")
        if installed "$alternative"; then met=true; break; fi
    done
    $met || missing+=("$group")
done
[ ${#missing[@]} -eq 0 ] && exit 0
wanted=$(IFS=,; echo "${missing[*]}" | sed 's/,/, /g')

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null && sudo -v; then
  sudo=(sudo)
else
  echo "Packages needed for $what are missing and this user cannot install them (not root, and no sudo that works)." >&2
  echo "As root, run:  apt-get satisfy --no-install-recommends '$wanted'" >&2
  exit 1
fi

echo "Installing for $what: $wanted"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
export DEBIAN_FRONTEND=noninteractive
if ! { "${sudo[@]}" apt-get update -qq && "${sudo[@]}" apt-get satisfy -y -qq -o Dpkg::Use-Pty=0 \
         -o DPkg::Lock::Timeout=600 --no-install-recommends "$wanted"; } >"$log" 2>&1; then
  cat "$log" >&2
  echo "install-deps.sh: apt-get failed; what it could not install is still missing: $wanted" >&2
  exit 1
fi
