#!/bin/bash
# Engine passes per CPU-second of this tree against an earlier commit. Both are built the same
# way (Debian's flags, as the Makefile builds), side by side under build/against/; then every
# mode of bench_experiment runs old and new back to back, which one first alternating, for
# ROUNDS rounds, so that a change in the machine's load falls on both alike. Prints for each
# mode the median passes per CPU-second of both and the lowest, median and highest ratio
# new / old of the rounds.
#
#   scripts/bench-against.sh COMMIT [ROUNDS]
set -euo pipefail

Commit=${1:?usage: scripts/bench-against.sh COMMIT [ROUNDS]}
Rounds=${2:-7}
Root=$(git rev-parse --show-toplevel)
Work=$Root/build/against
Modes="RC_Rectangle RC_Lfm RC_Barker Matched_Rectangle Matched_Triangle Matched_Lfm Matched_Barker"

Build() { # source directory, build directory
    bash "$Root/scripts/configure.sh" "$1" "$2" RelWithDebInfo ON
    cmake --build "$2" -j "$(nproc)" --target bench_experiment >"$2/build.log" 2>&1 ||
        { tail -40 "$2/build.log"; exit 1; }
}

rm -rf "$Work/old-source" "$Work/results"
mkdir -p "$Work/old-source" "$Work/results"
git -C "$Root" archive "$Commit" | tar -x -C "$Work/old-source"
echo "Building $Commit and this tree ..."
Build "$Work/old-source" "$Work/old"
Build "$Root" "$Work/new"

Run() { # old|new, mode, round
    "$Work/$1/bench/bench_experiment" --benchmark_min_time=0.2 --benchmark_filter="BM_Pass/$2\$" \
        --benchmark_format=csv 2>/dev/null | grep '^"BM' | cut -d, -f4 >"$Work/results/$1.$2.$3"
}
for r in $(seq 1 "$Rounds"); do
    for m in $Modes; do
        if ((r % 2)); then Run old "$m" "$r"; Run new "$m" "$r"; else Run new "$m" "$r"; Run old "$m" "$r"; fi
    done
done

python3 - "$Work/results" "$Rounds" $Modes <<'EOF'
import statistics, sys
results, rounds, modes = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
def cpu_ns(version, mode, r):
    return float(open(f"{results}/{version}.{mode}.{r}").read())
print(f"{'mode':20s} {'old p/CPU-s':>12s} {'new p/CPU-s':>12s}   new/old min / median / max")
for m in modes:
    old = [cpu_ns("old", m, r) for r in range(1, rounds + 1)]
    new = [cpu_ns("new", m, r) for r in range(1, rounds + 1)]
    ratios = [o / n for o, n in zip(old, new)]
    print(f"{m:20s} {1e9 / statistics.median(old):12.3g} {1e9 / statistics.median(new):12.3g}   "
          f"{min(ratios):.2f} / {statistics.median(ratios):.2f} / {max(ratios):.2f}")
EOF
