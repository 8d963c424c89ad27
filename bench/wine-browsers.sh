#!/usr/bin/env bash
# Times nullvane-cli's Test and Clean of every browser item under Wine over
# five browsers (Google Chrome, Microsoft Edge, Brave, Mozilla Firefox,
# LibreWolf) with three profiles each, next to the host's copy (`cp -a`) of
# the same profiles.
#
#   bench/wine-browsers.sh [HISTORY] [COOKIES]
#
# Each profile has HISTORY (default 20000) history rows with as many visits,
# COOKIES (default 5000) cookies, a form history or Web Data, and 50 cache
# files. Built from the browser schemas in ../shared/fixtures when present,
# else from the few tables the cleaners read. Timed: the Test (Fast Mode)
# and the Clean of every browser item; then the Clean of the Cookies items
# alone with "example.com" kept, which deletes rows instead of files. Each
# removal gets a fresh copy of the profiles; copying is not timed. Figures
# are the best of RUNS runs (environment, default 1), wall / processor
# (program, wineserver and Wine's services). Work folder below BENCH_DIR
# (default /tmp).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

history=${1:-20000}
cookies=${2:-5000}
case "$history$cookies" in *[!0-9]*) echo "usage: bench/wine-browsers.sh [HISTORY] [COOKIES]" >&2; exit 2 ;; esac

build=$root/build/windows
if [ ! -f "$build/nullvane-cli.exe" ]; then
    cmake --preset windows >/dev/null
    cmake --build --preset windows -j 2 --target nullvane-cli
fi

work=$(mktemp -d "${BENCH_DIR:-/tmp}/nullvane-bench.XXXXXX")
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
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

echo "preparing: prefix, programs, 5 browsers x 3 profiles" >&2
bash scripts/wine-prefix "$WINEPREFIX"
cd "$WINEPREFIX/drive_c"
wineserver -f -p &
server=$!
programs=$WINEPREFIX/drive_c/nullvane
mkdir -p "$programs"
cp "$build/nullvane-cli.exe" "$build/NVane.dat" "$programs/"
cliExe='C:\nullvane\nullvane-cli.exe'
unixOf() { winepath -u "$(wine cmd /c echo "$1" | tr -d '\r\n')" | sed 's:/*$::'; }
local=$(unixOf '%LOCALAPPDATA%')
roaming=$(unixOf '%APPDATA%')

# The profiles, kept outside the prefix: local/ and roaming/ mirror the two
# AppData folders.
master=$work/master
schema=$root/../shared/fixtures/browsers.sql
python3 - "$master" "$history" "$cookies" "$schema" <<'EOF'
import os, re, sqlite3, sys
master, history, cookies, schema_file = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]

# The fixture's CREATE TABLE lines per "-- == " section.
sections = {}
if os.path.exists(schema_file):
    name = None
    for line in open(schema_file, encoding="utf-8"):
        if line.startswith("-- == "):
            name = line[6:].strip()
            sections[name] = []
        elif name and line.startswith("CREATE "):
            sections[name].append(line.strip())
def tables(prefix, fallback):
    for key, lines in sections.items():
        if key.startswith(prefix) and lines:
            return lines
    return fallback

chromium_meta = tables("Chromium: every", ["CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);"])
def database(path, statements, fill):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    db = sqlite3.connect(path)
    for statement in statements:
        db.execute(statement)
    fill(db)
    db.commit()
    db.close()

def host(i):
    return "example.com" if i % 50 == 0 else "site%d.test" % (i % 997)

def chromium_profile(folder):
    os.makedirs(folder, exist_ok=True)
    open(os.path.join(folder, "Preferences"), "w").write("{}")
    open(os.path.join(folder, "Bookmarks"), "w").write('{"roots": {}}')
    def fill_history(db):
        db.executemany("INSERT INTO urls(id,url,title,visit_count,typed_count,last_visit_time,hidden) VALUES(?,?,?,?,?,?,0)",
                       ((i, "https://%s/page/%d" % (host(i), i), "Page %d" % i, 1, 0, 13300000000000000 + i) for i in range(1, history + 1)))
        db.executemany("INSERT INTO visits(id,url,visit_time) VALUES(?,?,?)",
                       ((i, i, 13300000000000000 + i) for i in range(1, history + 1)))
    database(os.path.join(folder, "History"), chromium_meta + tables("Chromium History",
             ["CREATE TABLE urls(id INTEGER PRIMARY KEY,url,title,visit_count,typed_count,last_visit_time,hidden);",
              "CREATE TABLE visits(id INTEGER PRIMARY KEY,url,visit_time);"]), fill_history)
    def fill_cookies(db):
        db.executemany("INSERT INTO cookies VALUES(?,?,'',?,'v',x'00','/',0,1,1,0,1,1,1,0,2,443,0,0,0)",
                       ((13300000000000000 + i, "." + host(i), "c%d" % i) for i in range(cookies)))
    database(os.path.join(folder, "Network", "Cookies"), chromium_meta + tables("Chromium Network",
             ["CREATE TABLE cookies(creation_utc,host_key,top_frame_site_key,name,value,encrypted_value,path,expires_utc,is_secure,is_httponly,last_access_utc,has_expires,is_persistent,priority,samesite,source_scheme,source_port,last_update_utc,source_type,has_cross_site_ancestor);"]),
             fill_cookies)
    def fill_web_data(db):
        db.executemany("INSERT INTO autofill(name,value,value_lower) VALUES(?,?,?)",
                       (("q", "term %d" % i, "term %d" % i) for i in range(1000)))
    database(os.path.join(folder, "Web Data"), chromium_meta + tables("Chromium Web Data",
             ["CREATE TABLE autofill(name,value,value_lower,date_created,date_last_used,count);"]), fill_web_data)
    cache = os.path.join(folder, "Cache", "Cache_Data")
    os.makedirs(cache, exist_ok=True)
    for i in range(50):
        open(os.path.join(cache, "f_%06x" % i), "wb").write(bytes(4096))

def gecko_profile(folder):
    os.makedirs(folder, exist_ok=True)
    open(os.path.join(folder, "prefs.js"), "w").write("// prefs\n")
    def fill_places(db):
        db.executemany("INSERT INTO moz_places(id,url,title,rev_host,visit_count,last_visit_date) VALUES(?,?,?,?,1,?)",
                       ((i, "https://%s/page/%d" % (host(i), i), "Page %d" % i, host(i)[::-1] + ".", 1700000000000000 + i)
                        for i in range(1, history + 1)))
        db.executemany("INSERT INTO moz_historyvisits(id,place_id,visit_date,visit_type) VALUES(?,?,?,1)",
                       ((i, i, 1700000000000000 + i) for i in range(1, history + 1)))
        try:
            db.executemany("INSERT INTO moz_bookmarks(id,type,fk,parent,position,title) VALUES(?,1,?,0,?,?)",
                           ((i, i, i, "Bookmark %d" % i) for i in range(1, 101)))
        except sqlite3.OperationalError:
            pass
    database(os.path.join(folder, "places.sqlite"), tables("Firefox places.sqlite (",
             ["CREATE TABLE moz_places(id INTEGER PRIMARY KEY,url,title,rev_host,visit_count,last_visit_date);",
              "CREATE TABLE moz_historyvisits(id INTEGER PRIMARY KEY,place_id,visit_date,visit_type);"]), fill_places)
    def fill_cookies(db):
        db.executemany("INSERT INTO moz_cookies(id,name,value,host,path,expiry) VALUES(?,?,'v',?,'/',0)",
                       ((i, "c%d" % i, "." + host(i)) for i in range(1, cookies + 1)))
    database(os.path.join(folder, "cookies.sqlite"), tables("Firefox cookies",
             ["CREATE TABLE moz_cookies(id INTEGER PRIMARY KEY,originAttributes,name,value,host,path,expiry);"]), fill_cookies)
    def fill_forms(db):
        db.executemany("INSERT INTO moz_formhistory(id,fieldname,value) VALUES(?,'q',?)",
                       ((i, "term %d" % i) for i in range(1, 1001)))
    database(os.path.join(folder, "formhistory.sqlite"), tables("Firefox formhistory",
             ["CREATE TABLE moz_formhistory(id INTEGER PRIMARY KEY,fieldname,value);"]), fill_forms)

for user_data in ("Google/Chrome/User Data", "Microsoft/Edge/User Data", "BraveSoftware/Brave-Browser/User Data"):
    for profile in ("Default", "Profile 1", "Profile 2"):
        chromium_profile(os.path.join(master, "local", user_data, profile))
    open(os.path.join(master, "local", user_data, "Local State"), "w").write("{}")

for folder in ("Mozilla/Firefox", "librewolf"):
    base = os.path.join(master, "roaming", folder)
    ini = ["[General]", "StartWithLastProfile=1", ""]
    for n in range(3):
        gecko_profile(os.path.join(base, "Profiles", "p%d.default" % n))
        ini += ["[Profile%d]" % n, "Name=p%d" % n, "IsRelative=1", "Path=Profiles/p%d.default" % n, ""]
        cache = os.path.join(master, "local", folder, "Profiles", "p%d.default" % n, "cache2", "entries")
        os.makedirs(cache, exist_ok=True)
        for i in range(50):
            open(os.path.join(cache, "%040X" % i), "wb").write(bytes(4096))
    os.makedirs(base, exist_ok=True)
    open(os.path.join(base, "profiles.ini"), "w").write("\r\n".join(ini))
EOF
profileBytes=$(du -sb --apparent-size "$master" | cut -f1)

placed=("Google" "Microsoft" "BraveSoftware" "Mozilla" "librewolf")
place() {
    local name
    for name in "${placed[@]}"; do rm -rf "${local:?}/$name" "${roaming:?}/$name"; done
    cp -a "$master/local/." "$local/"
    cp -a "$master/roaming/." "$roaming/"
    sync
}

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
    local out=$1 before after
    shift
    before=$(serverTicks)
    /usr/bin/time -f '%e %U %S' -o "$work/time" "$@" >"$out" || true
    after=$(serverTicks)
    awk -v server=$((after - before)) -v ticks="$ticks" '{printf "%.3f %.3f\n", $1, $2 + $3 + server / ticks}' \
        "$work/time"
}
best() { awk 'NF == 2 { if (!seen || $1 < a) a = $1; if (!seen || $2 < b) b = $2; seen = 1 }
    END { printf "%.3f %.3f", a, b }'; }
removal() {
    local prepare=$1 run
    shift
    for ((run = 0; run < runs; ++run)); do
        "$prepare"
        timedOnce "$@"
    done | best
}
hostCopy() { rm -rf "$work/copy"; sync; }

place
mapfile -t items < <(wine "$cliExe" --list | tr -d '\r' |
    sed -n -E 's/^  ((Google Chrome|Microsoft Edge|Brave|Mozilla Firefox|LibreWolf) - .*)$/\1/p')
mapfile -t cookieItems < <(printf '%s\n' "${items[@]}" | grep -- ' - Cookies$')
[ "${#items[@]}" -gt 0 ] || { echo "no browser items listed" >&2; exit 1; }
echo "timing ${#items[@]} items" >&2

wine "$cliExe" --preview "${items[@]}" --fast >/dev/null || true
startup=$(for ((run = 0; run < runs; ++run)); do timedOnce /dev/null wine "$cliExe" --preview "Windows - Clipboard" --fast; done | best)
copy=$(removal hostCopy /dev/null cp -a "$master" "$work/copy")
test=$(for ((run = 0; run < runs; ++run)); do timedOnce "$work/test.log" wine "$cliExe" --preview "${items[@]}" --fast; done | best)
clean=$(removal place "$work/clean.log" wine "$cliExe" --clean "${items[@]}" --yes --fast)
find "$local/Google" "$local/Microsoft/Edge" "$local/BraveSoftware" "$roaming/Mozilla" "$roaming/librewolf" \( -name History -o -name Cookies -o -name cookies.sqlite \) >"$work/left"
left=$(wc -l <"$work/left")
[ "$left" -eq 0 ] || { echo "left after the Clean of every item:" >&2; cat "$work/left" >&2; grep -i -E "left|in use|damaged|error" "$work/clean.log" >&2 || true; }
wine "$cliExe" --keep-cookie example.com >/dev/null
kept=$(removal place "$work/kept.log" wine "$cliExe" --clean "${cookieItems[@]}" --yes --fast)
keptRows=$(python3 - "$local" "$roaming" <<'EOF'
import glob, sqlite3, sys
rows = 0
for path in glob.glob(sys.argv[1] + "/*/*/User Data/*/Network/Cookies") + glob.glob(sys.argv[2] + "/*/Profiles/*/cookies.sqlite") + glob.glob(sys.argv[2] + "/*/*/Profiles/*/cookies.sqlite"):
    rows += sqlite3.connect(path).execute("SELECT count(*) FROM " + ("moz_cookies" if path.endswith("sqlite") else "cookies")).fetchone()[0]
print(rows)
EOF
)

wall() { echo "${1% *}"; }
cpu() { echo "${1#* }"; }
row() {
    awk -v name="$1" -v w="$(wall "$2")" -v c="$(cpu "$2")" -v cw="$(wall "$copy")" -v cc="$(cpu "$copy")" 'BEGIN {
        printf "| %s | %.2f / %.2f s | %.0f / %.0f ms | %.1f / %.1f |\n", name, w, c, w * 1000 / 15, c * 1000 / 15,
            (cw > 0 ? w / cw : 0), (cc > 0 ? c / cc : 0) }'
}
echo
echo "Profiles: 15 ($history history rows, $cookies cookies each), $((profileBytes / 1048576)) MiB; ${#items[@]} items."
echo "History and cookie databases left after the Clean of every item: $left."
echo "Cookie rows left after the kept-site Clean: $keptRows (example.com's, $((cookies / 50)) per profile expected)."
echo "Times are wall / processor, best of $runs; work folder in ${BENCH_DIR:-/tmp}."
echo
echo "| work | nullvane-cli | per profile | × cp -a |"
echo "|---|---|---|---|"
row "nullvane-cli start-up (Test of the Clipboard)" "$startup"
row "cp -a of the profiles" "$copy"
row "Test, Fast Mode, every item" "$test"
row "Clean, every item" "$clean"
row "Clean of the Cookies items, example.com kept" "$kept"
