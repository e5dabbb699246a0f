#!/usr/bin/env bash
# Runs every benchmark: the time-signal detector against synthetic signals, the in-process tick cost, how long a save
# holds up the clock's timer, the seconds label's lateness, listening on a busy computer, and the
# clock next to xclock and a Qt floor clock on one Xvfb. Prints everything and keeps a copy
# in bench/results/.
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
top=$(dirname "$here")
binary=$(cd "$top/$build" && pwd)/ravelquint
out=$here/results
mkdir -p "$out"
stamp=$(date +%Y%m%d-%H%M%S)

{
    echo "# $(date -Is) $(nproc) cores, $(uname -r)"
    "$top/$build/bench/bench_pip"
    echo
    "$top/$build/bench/bench_drift"
    echo
    "$top/$build/bench/bench_fortnight"
    echo
    "$top/$build/bench/bench_tick"
    echo
    "$top/$build/bench/bench_savestall"
    echo
    xvfb-run -a -s "-screen 0 1024x768x24" "$top/$build/bench/bench_latency" "${LATENCY_SECONDS:-60}"
    echo
    xvfb-run -a python3 "$here/listenload.py" "$binary" "$top/$build/tests/synth_timesignal" "${LISTEN_TRIES:-6}"
    echo
    peers=${PEER_CLOCKS:-$top/../shared/bench/peer-clocks.sh}
    if [[ -x $peers || -f $peers ]]; then
        bash "$peers" -d "${PEER_SECONDS:-60}" -w "$out/peer-work" \
            -c "ravelquint|$binary" -o 'xclock-digital|qt-floor|ravelquint'
    else
        echo "peer-clocks.sh not found at $peers: side-by-side run skipped"
    fi
} 2>&1 | tee "$out/bench-$stamp.txt"
