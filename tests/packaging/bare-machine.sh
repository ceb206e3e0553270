#!/usr/bin/env bash
# The package on a bare machine: a fresh minimal root of the host's Debian release (mmdebstrap,
# minbase; scripts/fresh-root.sh) that has
# only a virtual display, a window manager and the X tools this check drives it with. The built
# package goes in with `apt-get install --no-install-recommends`, so it brings exactly what its
# Depends pull in; an ordinary user starts the installed program, a real click presses Start, and
# at the end the package is purged with what it pulled in. The table below is what is checked.
# Runs as root or, for another user, in unprivileged namespaces; says why when it cannot run.
# In CI (CI=true) not running is a failure. The downloaded packages are kept in
# BUILD_DIR/bare-machine/archives, so later runs need the network only for what is new.
# Usage: bare-machine.sh BUILD_DIR
set -uo pipefail

checks=(
  "install   apt-get install --no-install-recommends ./the.deb succeeds on the bare root"
  "screen    the window is mapped, viewable and wholly on the 1280x1024 screen"
  "menu      the window's class is the desktop entry's StartupWMClass"
  "font      the window draws with the family its layout is made for: Liberation Sans"
  "figures   the figure boxes draw with its narrow cut, which keeps the widest figures whole"
  "icon      the window has its own icon, which Qt's SVG plugins read"
  "start     a click on Start changes the figures"
  "exit      after Stop and closing the window the program ends with status 0"
  "purge     purging the package and what it pulled in leaves no file of it behind"
)
expected_font="Liberation Sans"
expected_figures_font="Liberation Sans Narrow"
user_id=1000

# ---- Inside the root (an mmdebstrap hook; $1 is the root, the rest come from outside) -------
inside() {
    local root=$1 work=$2 deb=$3 probe=$4
    local results=$work/results
    record() { printf '%s %s %s\n' "$1" "$2" "$3" >>"$results"; }
    # A command prefix, not a function, so that $! of a background start is the program itself.
    local display=""
    as_user() {
        user=(chroot --userspec=$user_id:$user_id "$root" env -i PATH=/usr/bin:/bin HOME=/home/student
              LANG=C.UTF-8 DISPLAY="$display" XDG_RUNTIME_DIR=/tmp/runtime-student)
    }
    run_as_user() { as_user; "${user[@]}" "$@"; }
    # Everything outside the places apt, dpkg, caches, logs and the user's home keep changing.
    snapshot() {
        (cd "$root" && find . \( -path ./proc -o -path ./sys -o -path ./dev -o -path ./run -o -path ./tmp \
            -o -path ./home -o -path ./var/cache -o -path ./var/log -o -path ./var/lib/apt \
            -o -path ./var/lib/dpkg \) -prune -o -print | LC_ALL=C sort)
    }

    echo "student:x:$user_id:$user_id::/home/student:/bin/sh" >>"$root/etc/passwd"
    echo "student:x:$user_id:" >>"$root/etc/group"
    install -d -o $user_id -g $user_id "$root/home/student"
    install -d -m 1777 "$root/tmp/.X11-unix"
    install -d -m 0700 -o $user_id -g $user_id "$root/tmp/runtime-student"
    snapshot >"$work/before"
    chroot "$root" dpkg-query -W -f '${Package}\n' | LC_ALL=C sort >"$work/packages-before"

    cp "$deb" "$root/tmp/"
    if chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o Dpkg::Use-Pty=0 \
            --no-install-recommends "/tmp/$(basename "$deb")" >"$work/install.log" 2>&1; then
        record install ok "$(grep -c '^Setting up' "$work/install.log") packages set up"
    else
        record install FAIL "$(tail -5 "$work/install.log" | tr '\n' ' ')"
        return
    fi
    cp "$probe" "$root/tmp/probe.so"
    chmod 0644 "$root/tmp/probe.so"

    # The server picks a display number free on this machine (its sockets are seen outside too).
    local user
    as_user
    "${user[@]}" Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    local xvfb=$!
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    display=:$(head -1 "$work/display")
    as_user
    "${user[@]}" openbox >"$work/wm.log" 2>&1 &
    local wm=$!
    sleep 1
    "${user[@]}" env LD_PRELOAD=/tmp/probe.so LAB_PROBE_WATCH=/tmp/screenshot.png \
        timeout 180 optimal-filtering >"$work/run.log" 2>&1 &
    local program=$!

    local shown=""
    for _ in $(seq 600); do
        shown=$(grep -m1 '^probe: shown' "$work/run.log") && break
        kill -0 $program 2>/dev/null || break
        sleep 0.1
    done
    if [ -z "$shown" ]; then
        record screen FAIL "the window never showed: $(tail -5 "$work/run.log" | tr '\n' ' ')"
    else
        local window info
        window=$(run_as_user xdotool search --onlyvisible --class optimal-filtering 2>/dev/null | head -1)
        info=$(run_as_user xwininfo -id "${window:-0}" 2>&1)
        local x y w h state
        x=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
        y=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
        w=$(sed -n 's/^ *Width: *//p' <<<"$info")
        h=$(sed -n 's/^ *Height: *//p' <<<"$info")
        state=$(sed -n 's/^ *Map State: *//p' <<<"$info")
        if [ "$state" = IsViewable ] && [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le 1280 ] \
                && [ $((y + h)) -le 1024 ]; then
            record screen ok "${w}x$h at $x,$y"
        else
            record screen FAIL "window '${window}' state '${state}' ${w}x$h at $x,$y"
        fi
        local class wanted
        class=$(run_as_user xprop -id "${window:-0}" WM_CLASS 2>&1 | sed -n 's/.*", "\(.*\)"$/\1/p')
        wanted=$(sed -n 's/^StartupWMClass=//p' "$root/usr/share/applications/org.optimalfiltering.OptimalFiltering.desktop")
        if [ -n "$class" ] && [ "$class" = "$wanted" ]; then record menu ok "WM_CLASS $class"
        else record menu FAIL "WM_CLASS '$class', StartupWMClass '$wanted'"; fi
        local font figures icon
        font=$(sed -n 's/^probe: shown; font \([^;]*\);.*/\1/p' <<<"$shown")
        if [ "$font" = "$expected_font" ]; then record font ok "$font"
        else record font FAIL "the window draws with '$font'"; fi
        figures=$(sed -n 's/.*; figures \([^;]*\);.*/\1/p' <<<"$shown")
        if [ "$figures" = "$expected_figures_font" ]; then record figures ok "$figures"
        else record figures FAIL "the figure boxes draw with '$figures'"; fi
        icon=$(sed -n 's/.*; icon \([a-z]*\);.*/\1/p' <<<"$shown")
        if [ "$icon" = yes ]; then record icon ok "the window has its icon"
        else record icon FAIL "the window has no icon (Qt's SVG plugins are missing)"; fi
        local at
        at=$(sed -n 's/.*; start at //p' <<<"$shown")
        # shellcheck disable=SC2086
        run_as_user xdotool mousemove $at click 1
    fi

    wait $program
    local status=$?
    local changed
    changed=$(grep -m1 '^probe: figures changed' "$work/run.log")
    if [ -n "$changed" ]; then record start ok "${changed#probe: figures changed }"
    else record start FAIL "$(grep -v '^probe: shown' "$work/run.log" | tail -5 | tr '\n' ' ')"; fi
    if [ $status -eq 0 ]; then record exit ok "status 0"
    else record exit FAIL "status $status: $(tail -3 "$work/run.log" | tr '\n' ' ')"; fi
    [ -f "$root/tmp/screenshot.png" ] && cp "$root/tmp/screenshot.png" "$work/screenshot.png"
    kill $wm $xvfb 2>/dev/null
    wait $wm $xvfb 2>/dev/null

    if ! chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq -o Dpkg::Use-Pty=0 \
            --autoremove optimal-filtering >"$work/purge.log" 2>&1; then
        record purge FAIL "apt-get purge: $(tail -3 "$work/purge.log" | tr '\n' ' ')"
        return
    fi
    snapshot >"$work/after"
    chroot "$root" dpkg-query -W -f '${Package}\n' | LC_ALL=C sort >"$work/packages-after"
    # What apt keeps because another installed package can use it is apt's choice, not a remnant.
    local kept p
    kept=$(LC_ALL=C comm -13 "$work/packages-before" "$work/packages-after" | tr '\n' ' ')
    : >"$work/kept-files"
    for p in $kept; do chroot "$root" dpkg-query -L "$p" | sed 's|^/|./|' >>"$work/kept-files"; done
    local added vanished
    added=$(LC_ALL=C comm -13 "$work/before" "$work/after" | grep -vxF -f "$work/kept-files" | head -20 | tr '\n' ' ')
    vanished=$(LC_ALL=C comm -23 "$work/before" "$work/after" | head -20 | tr '\n' ' ')
    if [ -z "$added$vanished" ] && ! chroot "$root" dpkg-query -W optimal-filtering >/dev/null 2>&1; then
        record purge ok "$(grep -c '^Removing' "$work/purge.log") packages removed, nothing left${kept:+ (apt keeps ${kept% } for other packages)}"
    else
        record purge FAIL "left: ${added:-nothing}; gone: ${vanished:-nothing}"
    fi
}

if [ "${1:-}" = --inside ]; then
    shift
    inside "$@"
    exit 0
fi

# ---- Outside ---------------------------------------------------------------------------------
build=$(cd "${1:?build directory}" && pwd)
src=$(cd "$(dirname "$0")/../.." && pwd)
self=$src/tests/packaging/bare-machine.sh

cannot() {
    if [ "${CI:-}" = true ]; then echo "FAIL: the bare-machine check cannot run here: $*"; exit 1; fi
    echo "SKIPPED: the bare-machine check cannot run here: $*"
    exit 0
}
. "$src/scripts/fresh-root.sh"
command -v mmdebstrap >/dev/null || cannot "mmdebstrap is not installed (make test installs it as root)"
mode=$(fresh_root_mode)
[ -n "$mode" ] || cannot "it needs root or unprivileged user namespaces with a range in /etc/subuid"
release=$(fresh_root_release) || cannot "the host's release is not one the package is made for"

probe=$build/tests/packaging/libstart_stop_probe.so
[ -f "$probe" ] || { echo "FAIL: the probe is not built ($probe)"; exit 1; }
deb=$(bash "$src/scripts/build-package.sh" "$build") || { echo "FAIL: the package was not built"; exit 1; }

cache=$build/bare-machine/archives-$release
mkdir -p "$cache"
work=$(mktemp -d)
chmod 0755 "$work"
trap 'rm -rf "$work"' EXIT
echo "bare machine: a minimal ${fresh_root_releases[$release]} root ($mode mode), then $(basename "$deb") in it"
start=$(date +%s)
said=$(fresh_root "$release" "$mode" "$work/mmdebstrap.log" \
    --include=xvfb,x11-utils,xdotool,openbox \
    --skip=download/empty --skip=essential/unlink \
    --setup-hook='mkdir -p "$1"/var/cache/apt/archives/' \
    --setup-hook="sync-in '$cache' /var/cache/apt/archives/" \
    --customize-hook="bash '$self' --inside \"\$1\" '$work' '$deb' '$probe'" \
    --customize-hook="sync-out /var/cache/apt/archives '$cache'")
mm_status=$?
[[ $said == "no network"* ]] && cannot "$said"
[ -f "$work/screenshot.png" ] && cp "$work/screenshot.png" "$build/bare-machine/screenshot.png"

failures=0
for check in "${checks[@]}"; do
    name=${check%% *}
    line=$(grep -m1 "^$name " "$work/results" 2>/dev/null)
    status=$(cut -d' ' -f2 <<<"$line")
    detail=$(cut -d' ' -f3- <<<"$line")
    what=${check#"$name"}
    what=${what#"${what%%[! ]*}"}
    case "$status" in
        ok) printf 'ok:   %-7s %s\n' "$name" "$detail" ;;
        FAIL) printf 'FAIL: %-7s %s\n      (%s)\n' "$name" "$detail" "$what"; failures=$((failures + 1)) ;;
        *) printf 'FAIL: %-7s not reached (%s)\n' "$name" "$what"; failures=$((failures + 1)) ;;
    esac
done
if [ $mm_status -ne 0 ]; then
    tail -20 "$work/mmdebstrap.log"
    echo "FAIL: mmdebstrap ended with status $mm_status"
    failures=$((failures + 1))
fi
echo "bare machine: $(($(date +%s) - start)) s, screen grab in $build/bare-machine/screenshot.png"
if [ $failures -ne 0 ]; then echo "$failures bare-machine check(s) failed"; exit 1; fi
echo "bare-machine checks passed"
