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
