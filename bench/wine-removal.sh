#!/usr/bin/env bash
# Times nullvane-cli's Test and Clean of "Windows - Temporary Files" under Wine
# next to the host's tools and to Wine's own floor (bench/wine_floors.cpp),
# all on one generated tree in the Temp folder of an isolated prefix, with one
# wineserver kept running throughout.
#
#   bench/wine-removal.sh [FILES] [--variants]
#
# FILES (default 100000): the tree has FILES files in FILES/20 folders (two
# levels), 4 KiB per file on average, the same tree for the same FILES.
# --variants also times the floor program's variants (one per-file or
# per-folder call added or replaced) and prints what each call costs.
# Uses the programs of build/windows (built here if missing). Each removal
# gets a fresh copy of the tree; copying is not timed. Every figure is the
# best of RUNS runs (environment, default 1) as wall time and as processor
# time (user + system of the program, the wineserver and Wine's services): on a shared
# machine the processor time is the steadier. The work folder (prefix and
# trees) goes below BENCH_DIR (default /tmp); BENCH_DIR=/dev/shm keeps the
# disk out of the figures (a disk mounted with online discard or shared
# with other work makes removal times swing widely).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

files=100000
variants=0
for arg in "$@"; do
    case $arg in
        --variants) variants=1 ;;
        *[!0-9]* | '') echo "usage: bench/wine-removal.sh [FILES] [--variants]" >&2; exit 2 ;;
        *) files=$arg ;;
    esac
done

build=$root/build/windows
if [ ! -f "$build/nullvane-cli.exe" ] || [ ! -f "$build/bench/wine_floors.exe" ]; then
    cmake --preset windows >/dev/null
    cmake --build --preset windows -j 2 --target nullvane-cli wine_floors
fi

work=$(mktemp -d "${BENCH_DIR:-/tmp}/nullvane-bench.XXXXXX")
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine's recycle bin lives in the XDG trash: keep it inside the work folder.
export XDG_DATA_HOME=$work/xdg
mkdir -p "$XDG_DATA_HOME"
runs=${RUNS:-1}
server=
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    [ -z "$server" ] || wait "$server" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

echo "preparing: prefix, programs, tree of $files files" >&2
bash scripts/wine-prefix "$WINEPREFIX"
# A working folder Wine can name (the checkout lies outside every drive).
cd "$WINEPREFIX/drive_c"
# One wineserver for everything, kept running.
wineserver -f -p &
server=$!
programs=$WINEPREFIX/drive_c/nullvane
mkdir -p "$programs"
cp "$build/nullvane-cli.exe" "$build/NVane.dat" "$build/bench/wine_floors.exe" "$programs/"
tempWin=$(wine cmd /c echo %TEMP% | tr -d '\r\n')
temp=$(winepath -u "$tempWin" | sed 's:/*$::')
[ -d "$temp" ] || { echo "no Temp folder at $temp" >&2; exit 1; }
mkdir -p "$WINEPREFIX/drive_c/empty"

# The tree: folder dNN/sNNN, files fNN.tmp, sizes 1..8191 bytes from a fixed
# sequence. Kept outside the prefix and copied into Temp for each run.
tree=$work/tree
python3 - "$tree" "$files" <<'EOF'
import os, sys
root, files = sys.argv[1], int(sys.argv[2])
folders = max(1, files // 20)
tops = max(1, folders // 100)
paths = []
for t in range(tops):
    paths.append(os.path.join(root, "d%02d" % t))
for i in range(folders - tops):
    paths.append(os.path.join(paths[i % tops], "s%03d" % (i // tops)))
for path in paths:
    os.makedirs(path, exist_ok=True)
block = bytes(range(256)) * 32
for i in range(files):
    size = 1 + (i * 2654435761) % 8191
    with open(os.path.join(paths[i % folders], "f%02d.tmp" % (i // folders)), "wb") as f:
        f.write(block[:size])
EOF
treeFiles=$(find "$tree" -type f | wc -l)
treeFolders=$(find "$tree" -mindepth 1 -type d | wc -l)
treeBytes=$(du -sb --apparent-size "$tree" | cut -f1)

place() {
    rm -rf "$temp/tree"
    cp -a "$tree" "$temp/tree"
    sync
}

# Processor ticks of the prefix's own processes that outlive a program: the
# wineserver and Wine's services (winedevice.exe serves the volume queries).
serverTicks() {
    local files
    files=$(grep -lzx "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ 2>/dev/null | sed 's:environ$:stat:')
    # shellcheck disable=SC2086
    awk '{ line = $0; sub(/^.*\) /, "", line); split(line, field, " ")
           if ($0 ~ /\((wineserver|[^)]*\.exe)/) total += field[12] + field[13] }
         END { print total + 0 }' $files /dev/null 2>/dev/null
}
ticks=$(getconf CLK_TCK)

# "wall processor" seconds of a command, its output into the file named first.
timedOnce() {
    local out=$1 before after
    shift
    before=$(serverTicks)
    /usr/bin/time -f '%e %U %S' -o "$work/time" "$@" >"$out"
    after=$(serverTicks)
    awk -v server=$((after - before)) -v ticks="$ticks" '{printf "%.3f %.3f\n", $1, $2 + $3 + server / ticks}' \
        "$work/time"
}

# The best wall and the best processor time of the "wall processor" lines read.
best() { awk 'NF == 2 { if (!seen || $1 < a) a = $1; if (!seen || $2 < b) b = $2; seen = 1 }
    END { printf "%.3f %.3f", a, b }'; }

# The best of RUNS runs of a command, its output into the file named first.
timed() {
    local run
    for ((run = 0; run < runs; ++run)); do timedOnce "$@"; done | best
}

floorExe='C:\nullvane\wine_floors.exe'
cliExe='C:\nullvane\nullvane-cli.exe'
remaining() { find "$temp" -mindepth 1 | wc -l; }

results=()
record() { results+=("$1|$2"); }
value() {
    local entry
    for entry in "${results[@]}"; do
        [ "${entry%%|*}" = "$1" ] && { echo "${entry#*|}"; return; }
    done
}

echo "timing" >&2
wine "$cliExe" --preview "Windows - Temporary Files" --fast >/dev/null
record cliStartup "$(timed /dev/null wine "$cliExe" --preview "Windows - Temporary Files" --fast)"
place
# Warm the page cache and Wine's start-up alike for everything below.
find "$temp" -printf '%s %p\n' >/dev/null
wine "$floorExe" walk "$tempWin" >/dev/null
record startup "$(timed /dev/null wine "$floorExe" walk 'C:\empty')"
record find "$(timed /dev/null find "$temp" -printf '%s %p\n')"
record walk "$(timed "$work/walk.log" wine "$floorExe" walk "$tempWin")"
record test "$(timed "$work/test.log" wine "$cliExe" --preview "Windows - Temporary Files" --fast)"
grep -q "$treeFiles" "$work/test.log" || {
    echo "the Test did not report $treeFiles files:" >&2
    cat "$work/test.log" >&2
    exit 1
}

# The best of RUNS removals, each of a fresh copy placed by the command
# named first.
removal() {
    local prepare=$1 run
    shift
    for ((run = 0; run < runs; ++run)); do
        "$prepare"
        timedOnce "$@"
        [ "$prepare" != place ] || [ "$(remaining)" -eq 0 ] || echo "$* left $(remaining) entries in Temp" >&2
    done | best
}
hostCopy() {
    rm -rf "$work/rm-copy"
    cp -a "$tree" "$work/rm-copy"
    sync
}
record rm "$(removal hostCopy /dev/null rm -rf "$work/rm-copy")"
record delete "$(removal place /dev/null wine "$floorExe" delete "$tempWin")"
record clean "$(removal place "$work/clean.log" wine "$cliExe" --clean "Windows - Temporary Files" --yes --fast)"

wall() { echo "${1% *}"; }
cpu() { echo "${1#* }"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else printf "-" }'; }
row() {
    local work=$1 hostName=$2 host=$3 floorName=$4 floor=$5 program=$6
    printf '| %s | %s %.2f / %.2f s | %s %.2f / %.2f s | %.2f / %.2f s | %s / %s | %s / %s |\n' "$work" \
        "$hostName" "$(wall "$host")" "$(cpu "$host")" "$floorName" "$(wall "$floor")" "$(cpu "$floor")" \
        "$(wall "$program")" "$(cpu "$program")" \
        "$(ratio "$(wall "$program")" "$(wall "$floor")")" "$(ratio "$(cpu "$program")" "$(cpu "$floor")")" \
        "$(ratio "$(wall "$program")" "$(wall "$host")")" "$(ratio "$(cpu "$program")" "$(cpu "$host")")"
}
echo
echo "Tree: $treeFiles files, $treeFolders folders, $((treeBytes / 1048576)) MiB in $tempWin\\tree"
printf 'Wine start-up (floor program on an empty folder): %.2f / %.2f s\n' "$(wall "$(value startup)")" \
    "$(cpu "$(value startup)")"
printf 'nullvane-cli start-up (Test of the empty Temp folder): %.2f / %.2f s\n' "$(wall "$(value cliStartup)")" \
    "$(cpu "$(value cliStartup)")"
echo "Times are wall / processor (program, wineserver and Wine's services), best of $runs; work folder in ${BENCH_DIR:-/tmp}."
echo
echo "| work | host | Wine floor | nullvane-cli | cli / floor | cli / host |"
echo "|---|---|---|---|---|---|"
row "Test, Fast Mode" "find -printf" "$(value find)" "walk" "$(value walk)" "$(value test)"
row "Clean" "rm -rf" "$(value rm)" "delete walk" "$(value delete)" "$(value clean)"

[ "$variants" = 1 ] || exit 0

# Variants: the floor program's own time (start-up not counted) and the
# processor time of program and wineserver (start-up counted, the same for
# every mode); a call's cost is the difference to the base walk per file (or
# per folder).
# "inside processor" seconds of a floor mode, best of RUNS; a removing mode
# gets a fresh tree each time.
variant() {
    local mode=$1 run before after inside
    for ((run = 0; run < runs; ++run)); do
        [[ $mode != delete* ]] || place
        before=$(serverTicks)
        inside=$(/usr/bin/time -f '%U %S' -o "$work/time" wine "$floorExe" "$mode" "$tempWin" | tr -d '\r' |
            awk '{print $5}')
        after=$(serverTicks)
        [[ $mode != delete* ]] || [ "$(remaining)" -eq 0 ] || { echo "$mode left files in Temp" >&2; exit 1; }
        awk -v inside="$inside" -v server=$((after - before)) -v ticks="$ticks" \
            '{printf "%s %.3f\n", inside, $1 + $2 + server / ticks}' "$work/time"
    done | best
}
perItem() { echo "($1 - $2) * 1000000 / $3" | bc -l; }
echo
echo "| variant | inside / processor s | added per file, inside / processor | added per folder, inside |"
echo "|---|---|---|---|"
place
wine "$floorExe" walk "$tempWin" >/dev/null
base=$(variant walk)
for mode in walk walk-plain walk-attr walk-documents walk-fileattr walk-open walk-final walk-final-nt walk-final-none \
    walk-info walk-links walk-checked walk-checked-light; do
    result=$(variant "$mode")
    printf '| %s | %.3f / %.3f | %.1f / %.1f µs | %.1f µs |\n' "$mode" "${result% *}" "${result#* }" \
        "$(perItem "${result% *}" "${base% *}" "$treeFiles")" "$(perItem "${result#* }" "${base#* }" "$treeFiles")" \
        "$(perItem "${result% *}" "${base% *}" "$treeFolders")"
done
base=$(variant delete)
printf '| delete | %.3f / %.3f | %.1f / %.1f µs (the whole removal walk) | |\n' "${base% *}" "${base#* }" \
    "$(perItem "${base% *}" 0 "$treeFiles")" "$(perItem "${base#* }" 0 "$treeFiles")"
for mode in delete-attr delete-shell delete-checked delete-checked-light delete-handle delete-handle-light \
    delete-handle-final delete-handle-bare; do
    result=$(variant "$mode")
    printf '| %s | %.3f / %.3f | %.1f / %.1f µs | |\n' "$mode" "${result% *}" "${result#* }" \
        "$(perItem "${result% *}" "${base% *}" "$treeFiles")" "$(perItem "${result#* }" "${base#* }" "$treeFiles")"
done
