#!/usr/bin/env bash
# The newcomer's path: a fresh minimal Debian root (mmdebstrap, minbase) with only git, make and
# ca-certificates, a clone of this repository's current commit in it, and `make test` run there
# as CI runs it. The release is the host's, or the one named: RELEASE=bookworm|trixie|other.
# Needs root (or unprivileged user namespaces) and the network; takes a good while, since the
# root installs everything from nothing. The log is kept in build/test-fresh-RELEASE.log, the
# package the fresh root built in build/test-fresh-RELEASE/.
# Usage: test-fresh.sh [RELEASE]
set -uo pipefail

src=$(cd "$(dirname "$0")/.." && pwd)
. "$src/scripts/fresh-root.sh"
release=$(fresh_root_release "${1:-}") || exit 2
mkdir -p "$src/build"
log=$src/build/test-fresh-$release.log
command -v mmdebstrap >/dev/null || bash "$src/scripts/install-deps.sh" test || exit 1
mode=$(fresh_root_mode)
[ -n "$mode" ] || { echo "test-fresh: needs root or unprivileged user namespaces with a range in /etc/subuid"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The commit with its whole history, so that the clone numbers its version as this one does.
git -C "$src" bundle create -q "$work/repo.bundle" HEAD || exit 1
echo "test-fresh: $(git -C "$src" log -1 --format='%h %s' | cut -c1-70)"
echo "test-fresh: minimal ${fresh_root_releases[$release]} ($release) root, $mode mode, with git and make; log in $log"
out=$src/build/test-fresh-$release
rm -rf "$out"
start=$(date +%s)
fresh_root "$release" "$mode" "$log" --include=git,make,ca-certificates \
    --customize-hook="copy-in '$work/repo.bundle' /root" \
    --customize-hook='chroot "$1" sh -c "cd /root && git -c advice.detachedHead=false clone -q repo.bundle optimal-filtering && cd optimal-filtering && CI=true make test"' \
    --customize-hook="mkdir -p '$out' && cp \"\$1\"/root/optimal-filtering/build/*.deb '$out/' && { cp \"\$1\"/root/optimal-filtering/build/bare-machine/screenshot.png '$out/' || true; }"
status=$?
tail -25 "$log"
grep '^== make ' "$log" | sed 's/^/test-fresh: /'
echo "test-fresh: make test in the fresh $release root ended with status $status after $(($(date +%s) - start)) s"
exit $status
