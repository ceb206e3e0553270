# Fresh minimal Debian roots (mmdebstrap, minbase, no recommends) for the checks that try the
# program as a newcomer's machine or a bare machine meets it. Sourced by scripts/test-fresh.sh and
# tests/packaging/bare-machine.sh.

# The releases the project is built and checked on.
declare -A fresh_root_releases=([bookworm]="Debian 12" [trixie]="Debian 13")

# The release to make a root of: the one named (codename, or other: the known one the host is
# not), else the host's own. Says which releases are known when it is none of them.
fresh_root_release() { # [name]
    local host name=${1:-}
    host=$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}")
    if [ "$name" = other ]; then
        for name in "${!fresh_root_releases[@]}"; do [ "$name" != "$host" ] && break; done
    fi
    name=${name:-$host}
    if [ -z "${fresh_root_releases[$name]+known}" ]; then
        local from=/etc/os-release
        [ -n "${1:-}" ] && from="the command line"
        echo "unknown Debian release '${name:-none}' (from $from): the fresh roots are made for bookworm (Debian 12) and trixie (Debian 13); choose one with RELEASE=bookworm or RELEASE=trixie" >&2
        return 1
    fi
    echo "$name"
}

# Root where the user is root, unprivileged namespaces where they work; empty where neither.
fresh_root_mode() {
    if [ "$(id -u)" -eq 0 ]; then
        echo root
    elif unshare --user --map-root-user true 2>/dev/null && grep -q "^$(id -un):" /etc/subuid 2>/dev/null; then
        echo unshare
    fi
}

# Makes a root of the release and runs the hooks given as options in it; the root is thrown away
# afterwards. mmdebstrap's output goes to LOG. Where the archive could not be reached, one line
# says so.
fresh_root() { # release mode log [mmdebstrap options...]
    local release=$1 mode=$2 log=$3
    shift 3
    mmdebstrap --quiet --mode="$mode" --variant=minbase \
        --aptopt='APT::Install-Recommends "false"' "$@" "$release" /dev/null >"$log" 2>&1
    local status=$?
    if [ $status -ne 0 ] && grep -qE 'Temporary failure resolving|Could not resolve|Network is unreachable|Could not connect|Connection timed out|Failed to fetch .*(Connection|resolv)' "$log"; then
        echo "no network: the Debian archive could not be reached for the ${fresh_root_releases[$release]} root"
    fi
    return $status
}

# Makes a root of the release in DIR and keeps it there, for a tool the host's release has no
# recent enough package of. Made once: a DIR whose making finished (its stamp holds the options
# it was made with) is left as it is; one made with other options, or left half-made, is made
# anew. Needs root, since the root is entered with chroot afterwards.
fresh_root_kept() { # release dir log [mmdebstrap options...]
    local release=$1 dir=$2 log=$3
    shift 3
    local stamp="$release $*"
    [ -f "$dir.stamp" ] && [ "$(cat "$dir.stamp")" = "$stamp" ] && [ -d "$dir/usr" ] && return 0
    [ "$(id -u)" -eq 0 ] || { echo "a kept ${fresh_root_releases[$release]} root is made and entered as root only" >&2; return 1; }
    rm -rf "$dir" "$dir.stamp"
    mkdir -p "$(dirname "$dir")"
    mmdebstrap --quiet --mode=root --variant=minbase \
        --aptopt='APT::Install-Recommends "false"' "$@" "$release" "$dir" >"$log" 2>&1
    local status=$?
    if [ $status -ne 0 ]; then
        grep -qE 'Temporary failure resolving|Could not resolve|Network is unreachable|Could not connect|Connection timed out|Failed to fetch .*(Connection|resolv)' "$log" \
            && echo "no network: the Debian archive could not be reached for the ${fresh_root_releases[$release]} root"
        rm -rf "$dir"
        return $status
    fi
    echo "$stamp" >"$dir.stamp"
}

# Runs a command in a kept root with the host's directory DIR at the same path inside, in a
# mount namespace of its own, so nothing stays mounted when it ends.
fresh_root_enter() { # root dir command...
    local root=$1 dir=$2
    shift 2
    unshare --mount --propagation private -- sh -ec '
        root=$1 dir=$2; shift 2
        mkdir -p "$root$dir" "$root/proc" "$root/dev"
        mount --bind "$dir" "$root$dir"
        mount -t proc proc "$root/proc"
        mount --rbind /dev "$root/dev"
        exec chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"' \
        sh "$root" "$dir" "$@"
}
