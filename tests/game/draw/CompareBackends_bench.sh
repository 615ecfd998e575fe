#!/usr/bin/env bash
# Frames per second of the two players' backends on the same camera path at
# 640 × 480 (the scene frame bench of the demo game's first level), run side
# by side, three times each in turn, with the ratio of the medians.
# Usage: CompareBackends_bench.sh [bench folder]   (default: build/bench)
# Needs an X server (DISPLAY), e.g. under xvfb-run -a -s "-screen 0 1024x768x24".
set -eu
bench=${1:-build/bench}
fps() { "$1" | awk -F': ' '/^frames per second/ {print $2}'; }
median() { printf '%s\n' "$@" | sort -g | sed -n 2p; }
gl=() d3d=()
for _ in 1 2 3; do
    gl+=("$(fps "$bench/SceneDrawing_bench")")
    d3d+=("$(fps "$bench/SceneDrawing_bench_d3d8")")
done
g=$(median "${gl[@]}")
d=$(median "${d3d[@]}")
echo "PlayerGL  (OpenGL, Mesa): ${gl[*]} fps, median $g"
echo "PlayerD3D (software device): ${d3d[*]} fps, median $d"
awk -v d="$d" -v g="$g" 'BEGIN {printf "PlayerD3D / PlayerGL: %.2f\n", d / g}'
