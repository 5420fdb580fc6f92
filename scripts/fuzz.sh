#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default
# 300), or only the TARGETs named (e.g. ProcStatFuzzer). Every target starts
# from seeds taken from the fixture trees (and the few under
# tests/fuzz/corpus/TARGET/) plus the corpus earlier runs grew in
# build-fuzz/corpus/TARGET/. An input that breaks a property or crashes is
# kept in build-fuzz/findings/ and the script fails. Each run appends
# "date target seconds executions result" to build-fuzz/fuzz-log.tsv.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
seconds=${1:-300}
shift || true

CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORBISTAT_FUZZ=ON >/dev/null
cmake --build build-fuzz -j"$(nproc)" >/dev/null

fixtures=tests/fixtures
bins=build-fuzz/tests/fuzz
mkdir -p build-fuzz/findings build-fuzz/corpus build-fuzz/seeds

# Seeds of one target: one file per fixture snapshot, several files of a
# snapshot joined by a byte 0x01 where the target reads them together.
joined() {  # joined OUT FILE... (missing files count as empty)
  local out=$1 first=1
  shift
  : >"$out"
  for file in "$@"; do
    ((first)) || printf '\001' >>"$out"
    first=0
    [[ -f $file ]] && cat "$file" >>"$out"
  done
  return 0
}

snapshots() { find "$fixtures" -mindepth 2 -maxdepth 2 -type d -name 't*' | sort; }

seed() {  # seed TARGET DIR
  local target=$1 dir=$2 s n=0
  case $target in
    ProcStatFuzzer)
      for s in $(snapshots); do
        [[ -f $s/proc/stat ]] && joined "$dir/$((n++))" "$s/proc/stat" "${s%/*}/t1/proc/stat"
      done ;;
    MemInfoFuzzer)
      for s in $(snapshots); do
        [[ -f $s/proc/meminfo ]] && joined "$dir/$((n++))" "$s/proc/meminfo" "$s/proc/pressure/memory" "$s/sys/block/zram0/mm_stat"
      done ;;
    NetDevFuzzer)
      for s in $(snapshots); do
        [[ -f $s/proc/net/dev ]] && joined "$dir/$((n++))" "$s/proc/net/dev" "${s%/*}/t1/proc/net/dev"
      done ;;
    DiskStatsFuzzer)
      for s in $(snapshots); do
        [[ -f $s/proc/diskstats ]] && cp "$s/proc/diskstats" "$dir/$((n++))"
      done ;;
    RouteFuzzer)
      for s in $(snapshots); do
        [[ -f $s/proc/net/route || -f $s/proc/net/ipv6_route ]] && joined "$dir/$((n++))" "$s/proc/net/route" "$s/proc/net/ipv6_route"
      done ;;
    WirelessFuzzer)
      for s in $(snapshots); do
        [[ -f $s/proc/net/wireless ]] && cp "$s/proc/net/wireless" "$dir/$((n++))"
      done ;;
    MountInfoFuzzer)
      for s in $(snapshots); do
        [[ -f $s/proc/self/mountinfo ]] && cp "$s/proc/self/mountinfo" "$dir/$((n++))"
      done ;;
    CpuInfoFuzzer)
      for s in $(snapshots); do
        [[ -f $s/proc/cpuinfo ]] && joined "$dir/$((n++))" "$s/proc/cpuinfo" "$s/sys/firmware/devicetree/base/model"
      done ;;
    TextParsingFuzzer)
      # Every small attribute of the trees: numbers, flags, CPU lists, labels.
      find "$fixtures" -type f -size -256c ! -name PROVENANCE -print0 | sort -z | while IFS= read -r -d '' file; do
        cp "$file" "$dir/$((n++))"
      done ;;
    Nl80211Fuzzer)
      # GET_INTERFACE (ifindex 3, "wlan0", managed, 2412 MHz, SSID "home"),
      # GET_STATION (signal -52 dBm, 866.7 Mbit/s) and GET_SURVEY (2412 MHz,
      # in use, noise -95 dBm) replies.
      printf '\010\000\003\000\003\000\000\000\012\000\004\000wlan0\000\000\000\010\000\005\000\002\000\000\000\010\000\046\000\154\011\000\000\010\000\064\000home' >"$dir/interface"
      printf '\034\000\025\000\005\000\007\000\314\000\000\000\020\000\010\000\014\000\005\000\036\041\000\000\000\000\000\000' >"$dir/station"
      printf '\030\000\066\000\010\000\001\000\154\011\000\000\004\000\003\000\005\000\002\000\241\000\000\000' >"$dir/survey" ;;
  esac
  if [[ -d tests/fuzz/corpus/$target ]]; then
    cp tests/fuzz/corpus/"$target"/* "$dir/"
  fi
}

targets=("$@")
if ((${#targets[@]} == 0)); then
  for bin in "$bins"/*Fuzzer; do targets+=("$(basename "$bin")"); done
fi

status=0
for target in "${targets[@]}"; do
  seeds=build-fuzz/seeds/$target corpus=build-fuzz/corpus/$target log=build-fuzz/$target.log
  rm -rf "$seeds"
  mkdir -p "$seeds" "$corpus"
  seed "$target" "$seeds"
  result=ok
  if ! "$bins/$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 -print_final_stats=1 \
      -artifact_prefix="build-fuzz/findings/$target-" "$corpus" "$seeds" >"$log" 2>&1; then
    result=FAILED
    status=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  printf '%s\t%s\t%s\t%s\t%s\n' "$(date -Is)" "$target" "$seconds" "${runs:-0}" "$result" >>build-fuzz/fuzz-log.tsv
  printf '%-20s %6ss %12s runs  %s\n' "$target" "$seconds" "${runs:-0}" "$result"
  if [[ $result != ok ]]; then
    grep -E 'property broken|ERROR|SUMMARY|Test unit written' "$log" | head -n 5 >&2 || true
  fi
done
exit $status
