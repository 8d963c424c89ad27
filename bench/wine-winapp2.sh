#!/usr/bin/env bash
# Times what a winapp2.ini of the community file's size and shape adds to
# nullvane-cli's start-up under Wine: `--list` with and without
# `--winapp2 FILE` over a generated file of ENTRIES entries (default 4000,
# about 1.8 MB), each with the detection and keys real entries carry, a few
# of their programs laid out in the prefix. Figures are the best of RUNS runs
# (environment, default 5), wall / processor (program and wineserver).
#
#   bench/wine-winapp2.sh [ENTRIES]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
entries=${1:-4000}
case "$entries" in *[!0-9]*|"") echo "usage: bench/wine-winapp2.sh [ENTRIES]" >&2; exit 2 ;; esac
build=$root/build/windows
if [ ! -f "$build/nullvane-cli.exe" ]; then
    cmake --preset windows >/dev/null
    cmake --build --preset windows -j 2 --target nullvane-cli
fi
work=$(mktemp -d "${BENCH_DIR:-/tmp}/nullvane-bench.XXXXXX")
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
runs=${RUNS:-5}
cleanup() { wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"; }
trap cleanup EXIT
bash scripts/wine-prefix --programs "$build" "$WINEPREFIX" >/dev/null 2>&1
bash scripts/wine-prefix --programs "$build" --check "$WINEPREFIX"
cliExe=$(winepath -w "$build/nullvane-cli.exe" 2>/dev/null)
user=$(ls "$WINEPREFIX/drive_c/users" | grep -vx Public | head -n 1)
roaming=$WINEPREFIX/drive_c/users/$user/AppData/Roaming

# One entry in twenty has its program here; the rest are detected in vain.
python3 - "$entries" "$work/winapp2.ini" "$roaming" <<'PY'
import os, sys
count, path, roaming = int(sys.argv[1]), sys.argv[2], sys.argv[3]
variables = ["%AppData%", "%LocalAppData%", "%ProgramFiles%", "%UserProfile%", "%ProgramData%"]
groups = ["3021", "3022", "3023", "3024", "3025"]
with open(path, "w", newline="") as out:
    out.write("; generated for the start-up benchmark\r\n; Version: 1\r\n\r\n")
    for n in range(count):
        variable = variables[n % len(variables)]
        name = f"Generated Program {n:04d}"
        lines = [f"[{name} *]", f"LangSecRef={groups[n % len(groups)]}"]
        if n % 3 == 0:
            lines.append(f"Detect=HKCU\\Software\\Generated Vendor {n % 97}\\{name}")
        lines.append(f"DetectFile={variable}\\Generated Vendor {n % 97}\\{name}")
        if n % 10 == 0:
            lines.append(f"Warning=Entry {n} removes the program's saved state.")
        lines += [f"FileKey1={variable}\\Generated Vendor {n % 97}\\{name}\\Cache|*.*|RECURSE",
                  f"FileKey2={variable}\\Generated Vendor {n % 97}\\{name}|*.log;*.tmp;*.bak",
                  f"FileKey3={variable}\\Generated Vendor {n % 97}\\{name}\\*\\Thumbs|*.*|REMOVESELF",
                  f"RegKey1=HKCU\\Software\\Generated Vendor {n % 97}\\{name}\\Recent",
                  f"ExcludeKey1=FILE|{variable}\\Generated Vendor {n % 97}\\{name}\\|settings.ini"]
        out.write("\r\n".join(lines) + "\r\n\r\n")
        if n % 20 == 0 and variable == "%AppData%":
            os.makedirs(os.path.join(roaming, f"Generated Vendor {n % 97}", name, "Cache"), exist_ok=True)
PY
fileBytes=$(stat -c %s "$work/winapp2.ini")
catalogue=$(winepath -w "$work/winapp2.ini" 2>/dev/null)

serverTicks() {
    local files
    files=$(grep -lzx "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ 2>/dev/null | sed 's:environ$:stat:')
    # shellcheck disable=SC2086
    awk '{ line = $0; sub(/^.*\) /, "", line); split(line, field, " ")
           if ($0 ~ /\((wineserver|[^)]*\.exe)/) total += field[12] + field[13] }
         END { print total + 0 }' $files /dev/null 2>/dev/null
}
ticks=$(getconf CLK_TCK)
timedOnce() {
    local before after
    before=$(serverTicks)
    /usr/bin/time -f '%e %U %S' -o "$work/time" "$@" >"$work/out" || true
    after=$(serverTicks)
    awk -v server=$((after - before)) -v ticks="$ticks" '{printf "%.3f %.3f\n", $1, $2 + $3 + server / ticks}' "$work/time"
}
best() { awk 'NF == 2 { if (!seen || $1 < a) a = $1; if (!seen || $2 < b) b = $2; seen = 1 }
    END { printf "%.3f %.3f", a, b }'; }

wine "$cliExe" --list >/dev/null
plain=$(for ((run = 0; run < runs; ++run)); do timedOnce wine "$cliExe" --list; done | best)
tr -d '\r' <"$work/out" | grep -qx 'Custom Lists' || { echo "nullvane-cli --list printed no catalogue" >&2; exit 1; }
with=$(for ((run = 0; run < runs; ++run)); do timedOnce wine "$cliExe" --list --winapp2 "$catalogue"; done | best)
shown=$(tr -d '\r' <"$work/out" | grep -c '^  winapp2.ini - ' || true)
echo
echo "winapp2.ini: $entries entries, $((fileBytes / 1024)) KiB; $shown shown (their programs laid out in the prefix)."
echo "Times are wall / processor, best of $runs."
echo
echo "| nullvane-cli --list | time |"
echo "|---|---|"
awk -v p="$plain" -v w="$with" 'BEGIN { split(p, a, " "); split(w, b, " ")
    printf "| without winapp2.ini | %.3f / %.3f s |\n", a[1], a[2]
    printf "| with --winapp2 FILE | %.3f / %.3f s |\n", b[1], b[2]
    printf "| added by the catalogue | %.0f / %.0f ms |\n", (b[1] - a[1]) * 1000, (b[2] - a[2]) * 1000 }'
