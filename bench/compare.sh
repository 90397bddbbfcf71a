#!/usr/bin/env bash
# The runtime side by side with two other 2D frameworks (LÖVE and SFML) on the
# same workloads, in one X server: bunnymark at 32 px on llvmpipe and at 4 px on
# Mesa's no-op driver, frame pacing at 60 fps, and start-up time. Prints one table
# (medians of REPEAT runs, min-max in brackets, and the runtime's ratio to the best
# of the others) and keeps the raw result lines.
#
#   bench/compare.sh                 everything (about 35 minutes with REPEAT=3)
#   REPEAT=1 bench/compare.sh        one run of each (about 12 minutes)
#   CASES="noop4-50000 pacing" bench/compare.sh
#
# Settings (environment):
#   REPEAT=3          runs of each case and framework
#   CASES=...         any of llvm32-10000 llvm32-50000 noop4-50000 noop4-200000 pacing startup
#                     startup-cold resident (llvmK-N / noopK-N: K-pixel sprites, N of them;
#                     default all but startup-cold)
#   STARTUP_RUNS=3    start-up runs of each program per repetition, interleaved
#                     (startup-cold drops the page cache before each: needs root)
#   FRAMEWORKS="tavrick love sfml"
#   ANCHORS=/work/shared/bench-anchors   the other frameworks' programs and their run.sh
#   BUILD_DIR=<repo>/build-bench         where the runtime's benches are built
#   OUT=/tmp/tavrick-compare             results.txt, logs/, the others' build (anchors/)
#   RUN_TIMEOUT=900                      seconds before one run is given up
#   BASELINE=<commit>                    also runs the bunnymark and pacing cases of the
#                                        runtime as built at that commit, as framework
#                                        "baseline" (add it to FRAMEWORKS); the table then
#                                        gives tavrick / baseline too. Built in
#                                        $OUT/baseline-src (a detached worktree).
#
#   BASELINE=531c8eb FRAMEWORKS="tavrick baseline" CASES="noop4-50000 noop4-200000 pacing" \
#       bench/compare.sh             the current runtime beside an older one, runs interleaved
#
# The others' programs are built and run by their own run.sh (called once outside
# the X server to build them, then with --inner for each run); the runtime's benches
# are bench_bunnymark, bench_frame_pacing and bench_startup_time.
set -euo pipefail

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
REPO=$(cd "$HERE/.." && pwd)
ANCHORS=${ANCHORS:-/work/shared/bench-anchors}
BUILD_DIR=${BUILD_DIR:-$REPO/build-bench}
OUT=${OUT:-/tmp/tavrick-compare}
REPEAT=${REPEAT:-3}
CASES=${CASES:-"llvm32-10000 llvm32-50000 noop4-50000 noop4-200000 pacing startup resident"}
STARTUP_RUNS=${STARTUP_RUNS:-3}
FRAMEWORKS=${FRAMEWORKS:-"tavrick love sfml"}
RUN_TIMEOUT=${RUN_TIMEOUT:-900}
export ANCHORS_BUILD=$OUT/anchors

log() { echo "[compare] $*" >&2; }

# ---------------------------------------------------------------- inner: one X server
if [ "${1:-}" = "--inner" ]; then
    R=$OUT/results.txt
    : > "$R"
    mkdir -p "$OUT/logs" "$OUT/tmp"
    export LIBGL_ALWAYS_SOFTWARE=1
    # The others run with audio off. The runtime opens a sound device at start-up;
    # naming a driver SDL does not have leaves it without one, which it carries on
    # without (its mixing thread would cost some 0.002 CPU seconds a second). The
    # start-up case keeps a (dummy) device: opening it is part of starting.
    export SDL_AUDIODRIVER=none
    # The runtime's start-up trace goes to a folder of its own.
    export TMPDIR=$OUT/tmp

    record() { # case rep framework file: keeps the framework= lines, tagged
        grep '^framework=' "$4" | sed "s/^/case=$1 rep=$2 /" >> "$R" || true
    }
    tavrick_run() { # case rep px noop cmd...  (TAG=baseline for the older build)
        local c=$1 r=$2 px=$3 noop=$4 tag=${TAG:-tavrick}; shift 4
        local logf=$OUT/logs/$c-$tag-r$r.log rc=0
        if [ "$noop" = 1 ]; then
            SPRITE_PX=$px GALLIUM_NOOP=1 timeout "$RUN_TIMEOUT" "$@" > "$logf" 2>&1 || rc=$?
        else
            SPRITE_PX=$px timeout "$RUN_TIMEOUT" "$@" > "$logf" 2>&1 || rc=$?
        fi
        [ $rc = 0 ] || log "  $tag FAILED (exit $rc), see $logf"
        sed -i "s/^framework=tavrick /framework=$tag /" "$logf"
        record "$c" "$r" "$tag" "$logf"
    }
    anchor_run() { # case rep framework px noop pacing [n]
        local c=$1 r=$2 fw=$3 px=$4 noop=$5 pacing=$6; shift 6
        FRAMEWORKS=$fw REPEAT=1 PACING=$pacing SPRITE_PX=$px NOOP=$noop RUN_TIMEOUT=$RUN_TIMEOUT \
            "$ANCHORS/run.sh" --inner "$@" 2>/dev/null || log "  $fw: run.sh failed"
        cp "$ANCHORS_BUILD/results.txt" "$OUT/logs/$c-$fw-r$r.txt"
        record "$c" "$r" "$fw" "$ANCHORS_BUILD/results.txt"
    }
    sprite32=$ANCHORS_BUILD/sprite-32.png
    # Exec to the first frame the program drew: a bunnymark of one sprite on each
    # framework (the runtime's start-up presents twice before it: frame 3), and
    # SplitVerse's options screen (also frame 3). STARTUP_RUNS runs of each per
    # repetition, the programs taking turns. startup-cold empties the page cache before every start
    # (files, libraries, the X server's and Mesa's: cold for every framework alike).
    startup_run() { # case run framework
        local c=$1 r=$2 fw=$3 st=$BUILD_DIR/bench/bench_startup_time logf=$OUT/logs/$1-$3-r$2.log
        case $fw in
            tavrick)
                (
                    export SDL_AUDIODRIVER=dummy
                    cold_cache "$c"
                    "$st" --frame 3 --name bunnymark -- "$BUILD_DIR/bench/bench_bunnymark" 1 "$sprite32"
                    cold_cache "$c"
                    cd "$BUILD_DIR/game" && "$st" --frame 3 --name splitverse --timeline -- ./splitverse
                ) > "$logf" 2>&1 || log "  $c tavrick failed, see $logf" ;;
            love)
                cold_cache "$c"
                "$st" --frame 1 --name bunnymark -- love "$ANCHORS/love" bunnymark 1 "$sprite32" \
                    > "$logf" 2>&1 || log "  $c love failed, see $logf" ;;
            sfml)
                cold_cache "$c"
                "$st" --frame 1 --name bunnymark -- "$ANCHORS_BUILD/bench_sfml" bunnymark 1 "$sprite32" \
                    > "$logf" 2>&1 || log "  $c sfml failed, see $logf" ;;
        esac
        sed "s/^framework=tavrick /framework=$fw /" "$logf" > "$logf.lines"
        record "$c" "$r" "$fw" "$logf.lines"
    }
    cold_cache() { # case
        [ "$1" = startup-cold ] || return 0
        sync
        echo 3 > /proc/sys/vm/drop_caches 2>/dev/null || log "  cannot drop the page cache (not root?): runs are warm"
    }
    # Resident memory (VmRSS, and its anonymous part) of each framework's pacing
    # window (100 sprites) 3 s in, and SplitVerse's on its options screen and after
    # round 1 has been played (bench/splitverse_resident.sh).
    resident_run() { # rep framework
        local r=$1 fw=$2 logf=$OUT/logs/resident-$fw-r$r.log pid
        : > "$OUT/logs/resident-$fw-r$r.lines"
        case $fw in
            tavrick) "$BUILD_DIR/bench/bench_frame_pacing" "$sprite32" > "$logf" 2>&1 & pid=$! ;;
            love) love "$ANCHORS/love" pacing 100 "$sprite32" > "$logf" 2>&1 & pid=$! ;;
            sfml) "$ANCHORS_BUILD/bench_sfml" pacing 100 "$sprite32" > "$logf" 2>&1 & pid=$! ;;
        esac
        sleep 3
        resident_line "$fw" pacing "$pid" >> "$OUT/logs/resident-$fw-r$r.lines"
        kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
        if [ "$fw" = tavrick ]; then
            SDL_AUDIODRIVER=dummy "$HERE/splitverse_resident.sh" "$BUILD_DIR/game" "$OUT/tmp/resident" \
                >> "$OUT/logs/resident-$fw-r$r.lines" 2>> "$logf" || log "  resident splitverse failed, see $logf"
        fi
        record resident "$r" "$fw" "$OUT/logs/resident-$fw-r$r.lines"
    }
    resident_line() { # framework program pid: its resident and anonymous resident MB
        awk -v fw="$1" -v prog="$2" '/^VmRSS:/ { rss = $2 } /^RssAnon:/ { anon = $2 }
            END { if (rss) printf "framework=%s workload=resident program=%s rss_mb=%.1f anon_mb=%.1f\n", fw, prog, rss / 1024, anon / 1024 }' \
            "/proc/$3/status"
    }
    rot=0
    for r in $(seq "$REPEAT"); do
        for c in $CASES; do
            runs=1
            case $c in startup*) runs=$STARTUP_RUNS ;; esac
            for i in $(seq "$runs"); do
                # A different framework goes first on each run, so a slow drift of the
                # machine does not always fall on the same one.
                fws=($FRAMEWORKS)
                order=("${fws[@]:$((rot % ${#fws[@]}))}" "${fws[@]:0:$((rot % ${#fws[@]}))}")
                rot=$((rot + 1))
                for fw in "${order[@]}"; do
                    # The older build is compared on the drawing and pacing cases only.
                    if [ "$fw" = baseline ]; then case $c in startup*|resident) continue ;; esac; fi
                    log "rep $r: $c $fw$([ "$runs" -gt 1 ] && echo " (run $i of $runs)")"
                    case $c in
                        llvm*|noop*)
                            kind=${c%%-*} n=${c#*-}
                            px=${kind#llvm}; px=${px#noop}
                            noop=0; [ "${kind#noop}" != "$kind" ] && noop=1
                            if [ "$fw" = tavrick ]; then
                                tavrick_run "$c" "$r" "$px" "$noop" "$BUILD_DIR/bench/bench_bunnymark" "$n" "$sprite32"
                            elif [ "$fw" = baseline ]; then
                                TAG=baseline tavrick_run "$c" "$r" "$px" "$noop" "$BASELINE_BUILD/bench/bench_bunnymark" "$n" "$sprite32"
                            else
                                anchor_run "$c" "$r" "$fw" "$px" "$noop" 0 "$n"
                            fi ;;
                        pacing)
                            if [ "$fw" = tavrick ]; then
                                tavrick_run pacing "$r" 32 0 "$BUILD_DIR/bench/bench_frame_pacing" "$sprite32"
                            elif [ "$fw" = baseline ]; then
                                TAG=baseline tavrick_run pacing "$r" 32 0 "$BASELINE_BUILD/bench/bench_frame_pacing" "$sprite32"
                            else
                                anchor_run pacing "$r" "$fw" 32 0 1
                            fi ;;
                        startup|startup-cold)
                            startup_run "$c" $(((r - 1) * runs + i)) "$fw" ;;
                        resident)
                            resident_run "$r" "$fw" ;;
                    esac
                done
            done
        done
    done
    exit 0
fi

# ---------------------------------------------------------------- build
START=$(date +%s)
mkdir -p "$OUT"
"$REPO/scripts/ensure-packages.sh" bench

log "building the runtime's benches in $BUILD_DIR"
cmake -S "$REPO" -B "$BUILD_DIR" -DTAVRICK_BENCH=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo > "$OUT/cmake.log" 2>&1
cmake --build "$BUILD_DIR" -j"$(nproc)" --target bench_bunnymark bench_frame_pacing \
    bench_startup_time splitverse > "$OUT/build.log" 2>&1 || { tail -30 "$OUT/build.log" >&2; exit 1; }

# The other frameworks' programs and both sprite sizes, through their own script: a
# run of one sprite per size builds whatever is missing (a few seconds).
log "building the other frameworks' programs in $ANCHORS_BUILD"
for px in 32 4; do
    FRAMEWORKS=sfml PACING=0 REPEAT=1 SPRITE_PX=$px "$ANCHORS/run.sh" 1 > "$OUT/anchors-build-$px.log" 2>&1 ||
        { tail -20 "$OUT/anchors-build-$px.log" >&2; exit 1; }
done

# The older runtime, when asked for: its own source tree and build folder.
export BASELINE_BUILD=$OUT/baseline-build
if [ -n "${BASELINE:-}" ]; then
    log "building the baseline runtime ($BASELINE) in $BASELINE_BUILD"
    git -C "$REPO" worktree remove --force "$OUT/baseline-src" 2>/dev/null || rm -rf "$OUT/baseline-src"
    git -C "$REPO" worktree add --detach "$OUT/baseline-src" "$BASELINE" > "$OUT/baseline-worktree.log" 2>&1 ||
        { cat "$OUT/baseline-worktree.log" >&2; exit 1; }
    cmake -S "$OUT/baseline-src" -B "$BASELINE_BUILD" -DTAVRICK_BENCH=ON -DTAVRICK_TESTS=OFF \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo > "$OUT/baseline-cmake.log" 2>&1
    cmake --build "$BASELINE_BUILD" -j"$(nproc)" --target bench_bunnymark bench_frame_pacing \
        > "$OUT/baseline-build.log" 2>&1 || { tail -30 "$OUT/baseline-build.log" >&2; exit 1; }
fi
BUILT=$(date +%s)

# ---------------------------------------------------------------- run
xvfb-run -a -s '-screen 0 1024x768x24 -noreset' "$HERE/compare.sh" --inner
END=$(date +%s)

# ---------------------------------------------------------------- table
R=$OUT/results.txt
# cell CASE FRAMEWORK KEY [WORKLOAD]: "median [min-max]" of KEY over the runs
values() { grep "^case=$1 rep=[0-9]* framework=$2 workload=${4:-[a-z]*} " "$R" | grep "${5:-}" |
    sed -n "s/.* $3=\([^ ]*\).*/\1/p" | sort -g; }
median() { awk '{ v[NR] = $1 } END { if (NR == 0) exit
    m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; print m }'; }
cell() { values "$@" | awk -v d="${DIGITS:-2}" '{ v[NR] = $1 } END {
    if (NR == 0) { print "-"; exit }
    m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    f = "%." d "f"; s = sprintf(f, m)
    if (NR > 1) s = s sprintf(" [" f "-" f "]", v[1], v[NR])
    print s }'; }
# ratio CASE KEY [WORKLOAD] [FILTER]: the runtime's median over the best other median
ratio() {
    local ours best="" bestfw="" fw m
    ours=$(values "$1" tavrick "$2" "${3:-}" "${4:-}" | median)
    for fw in $FRAMEWORKS; do
        [ "$fw" = tavrick ] || [ "$fw" = baseline ] && continue
        m=$(values "$1" "$fw" "$2" "${3:-}" "${4:-}" | median)
        [ -n "$m" ] || continue
        if [ -z "$best" ] || awk -v a="$m" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$m; bestfw=$fw; fi
    done
    if [ -n "$ours" ] && [ -n "$best" ]; then
        awk -v a="$ours" -v b="$best" -v f="$bestfw" 'BEGIN { if (b > 0) printf "%.2f (%s)", a / b, f; else print "-" }'
    else
        echo "-"
    fi
}
row() { # label case key [workload] [filter] [no-ratio]
    local label=$1 c=$2 key=$3 wl=${4:-} filter=${5:-} fw
    printf '%-40s' "$label"
    for fw in $FRAMEWORKS; do printf ' %-24s' "$(cell "$c" "$fw" "$key" "$wl" "$filter")"; done
    local extra=""
    case " $FRAMEWORKS " in
        *" baseline "*)
            local ours base
            ours=$(values "$c" tavrick "$key" "$wl" "$filter" | median)
            base=$(values "$c" baseline "$key" "$wl" "$filter" | median)
            extra=$(awk -v a="$ours" -v b="$base" 'BEGIN { if (a != "" && b > 0) printf "   %.3f (baseline)", a / b }') ;;
    esac
    if [ -n "${6:-}" ]; then echo " -$extra"; else echo " $(ratio "$c" "$key" "$wl" "$filter")$extra"; fi
}

echo
echo "== tavrick beside LÖVE and SFML: one Xvfb 1024x768x24, LIBGL_ALWAYS_SOFTWARE=1, $(nproc) CPUs"
for fw in $FRAMEWORKS; do
    line=$(grep "framework=$fw workload=glinfo gl_renderer=\"llvm" "$R" | head -1 || true)
    printf '   %-8s %s\n' "$fw" "$(echo "${line#* workload=glinfo }")"
done
echo "   median of $REPEAT run(s) [min-max] (start-up: $((REPEAT * STARTUP_RUNS)) runs); last column: tavrick / best other (lower is better)"
echo
printf '%-40s' "case"
for fw in $FRAMEWORKS; do printf ' %-24s' "$fw"; done
echo " tavrick/best"
for c in $CASES; do
    case $c in
        llvm*|noop*)
            kind=${c%%-*} n=${c#*-} px=${kind#llvm}; px=${px#noop}
            drv=llvmpipe; [ "${kind#noop}" != "$kind" ] && drv=noop
            DIGITS=2 row "bunnymark ${px}px $drv N=$n ms/frame" "$c" ms_per_frame bunnymark ;;
        pacing)
            DIGITS=3 row "pacing 60fps mean ms" pacing mean_ms pacing "" no-ratio
            DIGITS=3 row "pacing sd ms" pacing sd_ms pacing
            DIGITS=3 row "pacing p99 |interval-16.667| ms" pacing p99_absdev_ms pacing
            DIGITS=3 row "pacing max interval ms" pacing max_ms pacing
            DIGITS=3 row "pacing CPU s / wall s" pacing cpu_per_wall pacing ;;
        startup|startup-cold)
            t=""; [ "$c" = startup-cold ] && t=" (cold)"
            DIGITS=1 row "start-up$t to first own frame ms" "$c" frame_ms startup program=bunnymark
            DIGITS=1 row "start-up$t SplitVerse options ms" "$c" frame_ms startup program=splitverse no-ratio
            options=$(values "$c" tavrick frame_ms startup program=splitverse | median)
            own=$(values "$c" tavrick frame_ms startup program=bunnymark | median)
            lv=$(values "$c" love frame_ms startup program=bunnymark | median)
            n=$(values "$c" tavrick frame_ms startup program=splitverse | wc -l)
            printf '%-40s %s\n' "  options / own first frame$t" \
                "$(awk -v a="$options" -v b="$own" -v n="$n" 'BEGIN { if (b > 0) printf "%.2f (goal <= 1.25; medians of %d runs)", a / b, n; else print "-" }')"
            printf '%-40s %s\n' "  options / LÖVE first frame$t" \
                "$(awk -v a="$options" -v b="$lv" -v n="$n" 'BEGIN { if (b > 0) printf "%.2f (goal <= 1.00; medians of %d runs)", a / b, n; else print "-" }')" ;;
        resident)
            DIGITS=1 row "resident MB, pacing window (100 sprites)" resident rss_mb resident program=pacing
            DIGITS=1 row "  of it anonymous MB" resident anon_mb resident program=pacing
            DIGITS=1 row "resident MB, SplitVerse options screen" resident rss_mb resident program=splitverse-options no-ratio
            DIGITS=1 row "  of it anonymous MB" resident anon_mb resident program=splitverse-options no-ratio
            DIGITS=1 row "resident MB, SplitVerse after round 1" resident rss_mb resident program=splitverse-round1 no-ratio
            DIGITS=1 row "  of it anonymous MB" resident anon_mb resident program=splitverse-round1 no-ratio ;;
    esac
done
echo
echo "build: $((BUILT - START)) s, runs: $((END - BUILT)) s; raw lines: $R; logs: $OUT/logs/"
last_timeline=$(ls -t "$OUT"/logs/startup*-tavrick-r*.log 2>/dev/null | head -1 || true)
[ -n "$last_timeline" ] && echo "SplitVerse start-up timeline: $last_timeline"
exit 0
