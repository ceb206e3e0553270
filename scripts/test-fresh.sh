#!/usr/bin/env bash
# The newcomer's path: a fresh minimal Debian 12 root (mmdebstrap, minbase) with only git and make,
# a clone of this repository's current commit in it, and `make test` run there as CI runs it.
# Needs root (or unprivileged user namespaces) and the network; takes a good while, since the
# root installs everything from nothing. The log is kept in build/test-fresh.log, the package the
# fresh root built in build/test-fresh/ (the same bytes as one built here from the same commit).
set -uo pipefail

src=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$src/build"
log=$src/build/test-fresh.log
command -v mmdebstrap >/dev/null || bash "$src/scripts/install-deps.sh" test || exit 1
if [ "$(id -u)" -eq 0 ]; then mode=root; else mode=unshare; fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The commit with its whole history, so that the clone numbers its version as this one does.
git -C "$src" bundle create -q "$work/repo.bundle" HEAD || exit 1
echo "test-fresh: $(git -C "$src" log -1 --format='%h %s' | cut -c1-70)"
echo "test-fresh: minimal Debian 12 root ($mode mode) with git and make; log in $log"
start=$(date +%s)
mmdebstrap --quiet --mode=$mode --variant=minbase --include=git,make \
    --aptopt='APT::Install-Recommends "false"' \
    --customize-hook="copy-in '$work/repo.bundle' /root" \
    --customize-hook='chroot "$1" sh -c "cd /root && git -c advice.detachedHead=false clone -q repo.bundle optimal-filtering && cd optimal-filtering && CI=true make test"' \
    --customize-hook="mkdir -p '$src/build/test-fresh' && cp \"\$1\"/root/optimal-filtering/build/*.deb '$src/build/test-fresh/'" \
    bookworm /dev/null >"$log" 2>&1
status=$?
tail -25 "$log"
echo "test-fresh: make test in the fresh root ended with status $status after $(($(date +%s) - start)) s"
exit $status
