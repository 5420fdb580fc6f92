#!/usr/bin/env bash
# process-bench.sh - what the whole Orbistat process costs, measured beside
# the two anchors of peer-bench.sh: limit-loop (a bare sampling round, the
# floor) and qt-floor (that round plus what Qt itself costs: a timer, two
# histories and a tray-sized image redrawn every tick).
#
# Each run starts the peers at once, at the same refresh interval, and reads
# for each its CPU time per refresh, wake-ups per second, memory (RSS) and the
# time to its first output. CPU time on a shared machine moves by a fifth from
# run to run while the ratios within one run move much less, so every figure
# is printed as a ratio to qt-floor of the same run, and with several runs the
# median of each ratio is printed last.
#
# Orbistat's runtime folder (where the snapshot for the widgets goes) is put
# on a tmpfs, as a desktop session's is.
#
# Usage: bench/process-bench.sh [options]
#   -d, --duration S   measuring window of each run in seconds (default 60)
#   -i, --interval S   refresh interval in seconds (default 2)
#   -r, --runs N       number of runs (default 1); the median ratio is printed
#   --callgrind        user-space instructions per refresh instead of CPU time
#                      (stable to a few per cent; kernel work is not seen)
#   --build DIR        the build folder holding app/orbistat (default: build)
#   --peer-bench FILE  peer-bench.sh (default: $ORBISTAT_PEER_BENCH, else the
#                      first shared/bench/peer-bench.sh found in a folder above
#                      the repository)
#   --keep             keep the CSV files and print their folder
#   -h, --help
set -u -o pipefail

DURATION=60
INTERVAL=2
RUNS=1
CALLGRIND=0
KEEP=0
REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=$REPO/build
PEER_BENCH=${ORBISTAT_PEER_BENCH:-}

die() { echo "process-bench: $*" >&2; exit 2; }
usage() { sed -n '2,/^set -u/p' "${BASH_SOURCE[0]}" | sed '$d; s/^# \{0,1\}//'; }

while (($#)); do
    case $1 in
    -d | --duration) DURATION=${2:?}; shift 2 ;;
    -i | --interval) INTERVAL=${2:?}; shift 2 ;;
    -r | --runs) RUNS=${2:?}; shift 2 ;;
    --callgrind) CALLGRIND=1; shift ;;
    --build) BUILD=$(cd "${2:?}" && pwd) || die "no build folder '$2'"; shift 2 ;;
    --peer-bench) PEER_BENCH=${2:?}; shift 2 ;;
    --keep) KEEP=1; shift ;;
    -h | --help) usage; exit 0 ;;
    *) die "unknown option '$1' (try --help)" ;;
    esac
done
[[ $RUNS =~ ^[1-9][0-9]*$ ]] || die "bad number of runs '$RUNS'"

if [[ -z $PEER_BENCH ]]; then
    dir=$REPO
    while [[ $dir != / ]]; do
        dir=$(dirname "$dir")
        [[ -r $dir/shared/bench/peer-bench.sh ]] && { PEER_BENCH=$dir/shared/bench/peer-bench.sh; break; }
    done
fi
[[ -r $PEER_BENCH ]] || die "peer-bench.sh not found; name it with --peer-bench or ORBISTAT_PEER_BENCH"
ORBISTAT=$BUILD/app/orbistat
[[ -x $ORBISTAT ]] || die "$ORBISTAT is not built (cmake --build $BUILD --target orbistat)"

# The runtime folder on a tmpfs, private to this run.
SHM=/dev/shm
[[ -d $SHM && -w $SHM ]] || SHM=${XDG_RUNTIME_DIR:-}
[[ -n $SHM ]] || die "no tmpfs for the runtime folder (/dev/shm or XDG_RUNTIME_DIR)"
WORK=$(mktemp -d "${TMPDIR:-/tmp}/process-bench.XXXXXX") || die "mktemp failed"
RUNTIME=$(mktemp -d "$SHM/orbistat-bench.XXXXXX") || die "mktemp in $SHM failed"
chmod 700 "$RUNTIME"
cleanup() {
    rm -rf "$RUNTIME"
    if ((KEEP)); then echo "process-bench: CSV files kept in $WORK" >&2; else rm -rf "$WORK"; fi
}
trap cleanup EXIT

EXTRA="env QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$RUNTIME $ORBISTAT --print --interval {interval}"
callgrind_flag=()
((CALLGRIND)) && callgrind_flag=(--callgrind)

for ((run = 1; run <= RUNS; run++)); do
    echo "process-bench: run $run of $RUNS (${DURATION} s at ${INTERVAL} s)" >&2
    bash "$PEER_BENCH" -d "$DURATION" -i "$INTERVAL" --only limit-loop,qt-floor "${callgrind_flag[@]}" \
        --name orbistat --extra "$EXTRA" --csv "$WORK/run$run.csv" > "$WORK/run$run.txt" 2>&1 ||
        { cat "$WORK/run$run.txt" >&2; die "peer-bench failed in run $run"; }
done

# One line per run and peer, then the medians. Ratios are to qt-floor of the
# same run; the limit-loop column shows how far each is from the floor.
awk -F, -v runs="$RUNS" -v callgrind="$CALLGRIND" '
function median(list, n,    a, i, j, t) {
    split(list, a, " ")
    for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (a[j] + 0 < a[i] + 0) { t = a[i]; a[i] = a[j]; a[j] = t }
    return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
}
function ratio(a, b) { return b > 0 ? a / b : 0 }
FNR == 1 { run++ }
$2 == "parallel" || $2 == "serial" {
    peer = $5
    cpu[run, peer] = $11; wake[run, peer] = $13; rss[run, peer] = $14 / 1024; first[run, peer] = $6; startcpu[run, peer] = $7
    ok[run, peer] = $19
}
$2 == "callgrind" {
    for (f = 6; f <= NF; f++) if ($f ~ /^kir_per_refresh=/) { split($f, kv, "="); kir[run, $5] = kv[2] }
}
END {
    peers[1] = "limit-loop"; peers[2] = "qt-floor"; peers[3] = "orbistat"
    unit = callgrind ? "kIr/refr" : "ms/refr"
    printf "%-4s %-10s %9s %9s %8s %8s %9s %7s   %-s\n", "run", "peer", unit, "wakeup/s", "RSS MiB", "first ms", "start-cpu", "status", "orbistat / qt-floor"
    for (r = 1; r <= run; r++) {
        for (p = 1; p <= 3; p++) {
            n = peers[p]
            c = callgrind ? kir[r, n] : cpu[r, n]
            printf "%-4d %-10s %9s %9s %8.1f %8s %9s %7s", r, n, c, wake[r, n], rss[r, n], first[r, n], startcpu[r, n], ok[r, n]
            if (n == "orbistat") {
                rc = ratio(c, callgrind ? kir[r, "qt-floor"] : cpu[r, "qt-floor"])
                rw = ratio(wake[r, n], wake[r, "qt-floor"]); rr = ratio(rss[r, n], rss[r, "qt-floor"])
                printf "   cpu %.2f  wake-ups %.2f  RSS %.2f", rc, rw, rr
                lc = lc " " rc; lw = lw " " rw; lr = lr " " rr; lwake = lwake " " wake[r, n]; lfirst = lfirst " " first[r, n]
            }
            printf "\n"
        }
    }
    if (callgrind)
        printf "\nmedian of %d run(s), orbistat --print: instructions per refresh %.2f x qt-floor (the other columns are valgrind'"'"'s)\n",
            run, median(lc, run)
    else
        printf "\nmedian of %d run(s), orbistat --print: CPU per refresh %.2f x qt-floor, wake-ups %.2f/s (%.2f x), RSS %.2f x, first line %.1f ms\n",
            run, median(lc, run), median(lwake, run), median(lw, run), median(lr, run), median(lfirst, run)
}' $(for ((run = 1; run <= RUNS; run++)); do echo "$WORK/run$run.csv"; done)
