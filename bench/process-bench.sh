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
# Measured: `orbistat --print`, and with --tray the tray program twice, on a
# private X server (Xvfb) and private session buses, each with a tray host:
# once with the popover hidden ("tray") and once with the popover opened by a
# click on the item ("popover"). The host (build/bench/orbistat_bench_tray_host
# unless --tray-host names a panel) does what a panel does for the item: it
# reads the image and the tooltip whenever the item announces new ones. The
# hosts are not part of what is measured. The tray program writes nothing:
# its first output is the moment its item is on the bus (to 50 ms).
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
#   --tray             also measure the tray program (needs Xvfb, dbus-daemon
#                      and dbus-send)
#   --display :N       the X display: the server already running there, else
#                      an Xvfb started on it (default: an Xvfb on a free one)
#   --tray-host CMD    the tray host started on each private bus (default:
#                      the bench's own): any program that takes the
#                      org.kde.StatusNotifierWatcher name, a panel for one;
#                      only the bench's own host tells how often the image
#                      changed
#   --build DIR        the build folder holding app/orbistat (default: build)
#   --baseline FILE    also measure another orbistat (for example one built
#                      from main) in the same runs, as "base" (and with --tray
#                      "base-tray", its popover hidden): compare builds within
#                      one run
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
TRAY=0
DISPLAY_NAME=
TRAY_HOST=
KEEP=0
REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=$REPO/build
BASELINE=
PEER_BENCH=${ORBISTAT_PEER_BENCH:-}

die() { echo "process-bench: $*" >&2; exit 2; }
usage() { sed -n '2,/^set -u/p' "${BASH_SOURCE[0]}" | sed '$d; s/^# \{0,1\}//'; }

while (($#)); do
    case $1 in
    -d | --duration) DURATION=${2:?}; shift 2 ;;
    -i | --interval) INTERVAL=${2:?}; shift 2 ;;
    -r | --runs) RUNS=${2:?}; shift 2 ;;
    --callgrind) CALLGRIND=1; shift ;;
    --tray) TRAY=1; shift ;;
    --display) DISPLAY_NAME=${2:?}; shift 2 ;;
    --tray-host) TRAY_HOST=${2:?}; shift 2 ;;
    --build) BUILD=$(cd "${2:?}" && pwd) || die "no build folder '$2'"; shift 2 ;;
    --baseline) BASELINE=$(realpath "${2:?}") || die "no program '$2'"; shift 2 ;;
    --peer-bench) PEER_BENCH=${2:?}; shift 2 ;;
    --keep) KEEP=1; shift ;;
    -h | --help) usage; exit 0 ;;
    *) die "unknown option '$1' (try --help)" ;;
    esac
done
[[ $RUNS =~ ^[1-9][0-9]*$ ]] || die "bad number of runs '$RUNS'"
[[ -z $DISPLAY_NAME || $DISPLAY_NAME =~ ^:[0-9]+$ ]] || die "bad display '$DISPLAY_NAME' (:N)"

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
[[ -z $BASELINE || -x $BASELINE ]] || die "$BASELINE is not a program"
if ((TRAY)); then
    [[ -n $TRAY_HOST ]] || TRAY_HOST=$BUILD/bench/orbistat_bench_tray_host
    for tool in Xvfb dbus-daemon dbus-send "${TRAY_HOST%% *}"; do
        command -v "$tool" > /dev/null || die "--tray needs $tool"
    done
fi

# Everything this script starts, stopped by process id at the end.
STARTED=()
descendants() { # pid -> the pid and its descendants
    local child
    echo "$1"
    for child in $(pgrep -P "$1" 2>/dev/null); do descendants "$child"; done
}
stop_started() {
    local pid all=()
    for pid in "${STARTED[@]}"; do
        [[ -d /proc/$pid ]] && all+=($(descendants "$pid"))
    done
    ((${#all[@]})) || return 0
    kill "${all[@]}" 2> /dev/null
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        local left=0
        for pid in "${all[@]}"; do [[ -d /proc/$pid ]] && left=1; done
        ((left)) || return 0
        sleep 0.2
    done
    kill -KILL "${all[@]}" 2> /dev/null
}

# The runtime folders on a tmpfs, private to this run.
SHM=/dev/shm
[[ -d $SHM && -w $SHM ]] || SHM=${XDG_RUNTIME_DIR:-}
[[ -n $SHM ]] || die "no tmpfs for the runtime folder (/dev/shm or XDG_RUNTIME_DIR)"
WORK=$(mktemp -d "${TMPDIR:-/tmp}/process-bench.XXXXXX") || die "mktemp failed"
RUNTIME=$(mktemp -d "$SHM/orbistat-bench.XXXXXX") || die "mktemp in $SHM failed"
chmod 700 "$RUNTIME"
cleanup() {
    stop_started
    rm -rf "$RUNTIME"
    if ((KEEP)); then echo "process-bench: files kept in $WORK" >&2; else rm -rf "$WORK"; fi
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

PEERS=() EXTRAS=()
add_print_peer() { # name program
    mkdir -m 700 "$RUNTIME/$1"
    PEERS+=("$1")
    EXTRAS+=(--name "$1" --extra "env QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$RUNTIME/$1 $2 --print --interval {interval}")
}
add_print_peer orbistat "$ORBISTAT"
[[ -n $BASELINE ]] && add_print_peer base "$BASELINE"

# A private session bus with a tray host on it, for one tray program: sets
# SESSION_BUS to its address once the host owns the StatusNotifierWatcher.
start_tray_session() { # name
    local name=$1 address pid
    dbus-daemon --session --fork --print-address=1 --print-pid=1 > "$WORK/bus-$name.txt" || die "no session bus"
    address=$(sed -n 1p "$WORK/bus-$name.txt") pid=$(sed -n 2p "$WORK/bus-$name.txt")
    STARTED+=("$pid")
    env DISPLAY="$DISPLAY_NAME" DBUS_SESSION_BUS_ADDRESS="$address" XDG_CONFIG_HOME="$WORK/host-$name" \
        $TRAY_HOST > "$WORK/host-$name.log" 2>&1 &
    STARTED+=("$!")
    for _ in $(seq 100); do
        if dbus-send --bus="$address" --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.NameHasOwner string:org.kde.StatusNotifierWatcher 2> /dev/null | grep -q 'boolean true'; then
            SESSION_BUS=$address
            return 0
        fi
        sleep 0.2
    done
    die "$TRAY_HOST did not offer a StatusNotifierWatcher on its bus (see $WORK/host-$name.log with --keep)"
}

if ((TRAY)); then
    number=${DISPLAY_NAME#:}
    lock_pid=
    [[ -n $DISPLAY_NAME && -r /tmp/.X$number-lock ]] && lock_pid=$(tr -dc 0-9 < "/tmp/.X$number-lock")
    if [[ -n $lock_pid && -S /tmp/.X11-unix/X$number ]] && kill -0 "$lock_pid" 2> /dev/null; then
        echo "process-bench: using the X server already on $DISPLAY_NAME" >&2
    else
        # Xvfb writes its display number to the descriptor once it accepts
        # clients (a stale socket of an earlier server would look ready).
        exec {DISPLAY_FD}> "$WORK/display.txt"
        Xvfb $DISPLAY_NAME -displayfd "$DISPLAY_FD" -screen 0 1280x800x24 -nolisten tcp > "$WORK/xvfb.log" 2>&1 &
        STARTED+=("$!")
        exec {DISPLAY_FD}>&-
        for _ in $(seq 100); do [[ -s $WORK/display.txt ]] && break; sleep 0.1; done
        DISPLAY_NAME=:$(head -1 "$WORK/display.txt")
        [[ $DISPLAY_NAME =~ ^:[0-9]+$ ]] || die "Xvfb did not start (see $WORK/xvfb.log with --keep)"
    fi
    # The tray program follows the stored interval: a settings file of its own.
    mkdir -p "$WORK/config/Orbistat"
    printf '[General]\nupdateInterval=%s\n' "$INTERVAL" > "$WORK/config/Orbistat/Orbistat.conf"
    tray_programs=(tray "$ORBISTAT" popover "$ORBISTAT")
    # Two open popovers on one display would close each other (a popover
    # closes when another window takes the focus): the baseline's is not
    # opened; measure it in a run of its own (--build).
    [[ -n $BASELINE ]] && tray_programs+=(base-tray "$BASELINE")
    set -- "${tray_programs[@]}"
    while (($#)); do
        name=$1 program=$2
        shift 2
        start_tray_session "$name"
        mkdir -m 700 "$RUNTIME/$name"
        environment="DISPLAY=$DISPLAY_NAME DBUS_SESSION_BUS_ADDRESS=$SESSION_BUS XDG_RUNTIME_DIR=$RUNTIME/$name XDG_CONFIG_HOME=$WORK/config QT_QPA_PLATFORM=xcb"
        # The tray program writes nothing: a helper writes a line once its
        # item is on the bus (asked every 50 ms), which is the program's
        # first output, and for the popover then clicks the item (Activate),
        # as a panel does. The script becomes the tray program (same process
        # id, hence the item's bus name), so that no shell stays in the
        # measured tree; the helper is not its child either (a child it never
        # reaps would take its CPU time out of the tree's sum when it ends).
        cat > "$WORK/$name.sh" <<EOF
item=org.kde.StatusNotifierItem-\$\$-1
( (
    for _ in \$(seq 1200); do
        sleep 0.05
        env $environment dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \\
            org.freedesktop.DBus.NameHasOwner string:\$item 2> /dev/null | grep -q 'boolean true' || continue
        echo "item on the bus"
        [[ $name == *popover ]] && env $environment dbus-send --session --print-reply --dest=\$item /StatusNotifierItem \\
            org.kde.StatusNotifierItem.Activate int32:900 int32:30 > /dev/null 2>&1
        break
    done
) & )
exec env $environment "$program"
EOF
        PEERS+=("$name")
        EXTRAS+=(--name "$name" --extra "bash $WORK/$name.sh")
    done
fi

callgrind_flag=()
((CALLGRIND)) && callgrind_flag=(--callgrind)
for ((run = 1; run <= RUNS; run++)); do
    echo "process-bench: run $run of $RUNS (${DURATION} s at ${INTERVAL} s)" >&2
    bash "$PEER_BENCH" -d "$DURATION" -i "$INTERVAL" --only limit-loop,qt-floor "${callgrind_flag[@]}" "${EXTRAS[@]}" \
        --csv "$WORK/run$run.csv" > "$WORK/run$run.txt" 2>&1 ||
        { cat "$WORK/run$run.txt" >&2; die "peer-bench failed in run $run"; }
done

# What each measured peer is called in the summaries.
AWK_LABEL='function label(name) {
    if (name == "orbistat") return "orbistat --print"
    if (name == "base") return "base --print"
    if (name == "tray") return "tray, popover hidden"
    if (name == "popover") return "tray, popover open"
    if (name == "base-tray") return "base tray, hidden"
    return name
}
'

# One line per run and peer, then the medians. Ratios are to qt-floor of the
# same run.
awk -F, -v callgrind="$CALLGRIND" -v measured="${PEERS[*]}" "$AWK_LABEL"'
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
    # A thread that ends in the window (an idle pool thread does after 30 s)
    # takes its run time and wake-ups out of the sum over the live threads,
    # which then falls short of the process times (10 ms ticks, which keep
    # what ended threads used): then the CPU time comes from those, and the
    # wake-ups are unknown.
    if ($8 + 0 < 0 || $13 + 0 < 0 || $9 - $8 > 30 + $9 / 5) {
        cpu[run, peer] = sprintf("%.2f", $9 / ($3 / $4)); wake[run, peer] = "?"; ok[run, peer] = ok[run, peer] "*"
        ticks_used = 1
    }
}
$2 == "callgrind" {
    for (f = 6; f <= NF; f++) if ($f ~ /^kir_per_refresh=/) { split($f, kv, "="); kir[run, $5] = kv[2] }
}
END {
    n = split("limit-loop qt-floor " measured, peers, " ")
    unit = callgrind ? "kIr/refr" : "ms/refr"
    printf "%-4s %-12s %9s %9s %8s %8s %9s %9s   %s\n", "run", "peer", unit, "wakeup/s", "RSS MiB", "first ms", "start-cpu", "status", "ratios to qt-floor"
    for (r = 1; r <= run; r++) {
        for (p = 1; p <= n; p++) {
            name = peers[p]
            c = callgrind ? kir[r, name] : cpu[r, name]
            printf "%-4d %-12s %9s %9s %8.1f %8s %9s %9s", r, name, c, wake[r, name], rss[r, name], first[r, name], startcpu[r, name], ok[r, name]
            if (p > 2) {
                rc = ratio(c, callgrind ? kir[r, "qt-floor"] : cpu[r, "qt-floor"])
                rw = ratio(wake[r, name], wake[r, "qt-floor"]); rr = ratio(rss[r, name], rss[r, "qt-floor"])
                printf "   cpu %.2f  wake-ups %s  RSS %.2f", rc, wake[r, name] == "?" ? "?" : sprintf("%.2f", rw), rr
                lc[name] = lc[name] " " rc; lr[name] = lr[name] " " rr
                if (wake[r, name] != "?") { lwake[name] = lwake[name] " " wake[r, name]; nwake[name]++ }
                lfirst[name] = lfirst[name] " " (first[r, name] == "-" ? 0 : first[r, name])
            }
            printf "\n"
        }
    }
    if (ticks_used)
        printf "* a thread ended in the window: CPU from the process times (10 ms ticks), wake-ups unknown\n"
    printf "\nmedian of %d run(s)%s:\n", run, callgrind ? " (only the instruction counts are meaningful under valgrind)" : ""
    for (p = 3; p <= n; p++) {
        name = peers[p]
        if (callgrind)
            printf "  %-22s instructions per refresh %.2f x qt-floor\n", label(name), median(lc[name], run)
        else
            printf "  %-22s CPU per refresh %.2f x qt-floor, %s wake-ups/s, RSS %.2f x qt-floor%s\n", label(name), median(lc[name], run),
                nwake[name] ? sprintf("%.2f", median(lwake[name], nwake[name])) : "?", median(lr[name], run),
                sprintf(name == "orbistat" || name == "base" ? ", first line %.1f ms" : ", item on the bus after %.0f ms", median(lfirst[name], run))
    }
}' $(for ((run = 1; run <= RUNS; run++)); do echo "$WORK/run$run.csv"; done)

# How often the tray program announced a new image and a new tooltip: what
# the host saw from each registration to its last announcement.
if ((TRAY)); then
    for name in tray popover base-tray; do
        [[ -r $WORK/host-$name.log ]] || continue
        awk -v name="$name" -v interval="$INTERVAL" "$AWK_LABEL"'
        function close_segment() { if (start && last > start) span += (last - start) / 1000 }
        $1 == "registered" { close_segment(); start = $2; last = 0 }
        $1 == "icon" { icons++; last = $2 }
        $1 == "tooltip" { tips++; last = $2 }
        END {
            close_segment()
            if (span > 0)
                printf "  %-22s the host was sent %.2f new images and %.2f new tooltips per refresh\n",
                    label(name), icons / span * interval, tips / span * interval
        }' "$WORK/host-$name.log"
    done
fi
