#!/usr/bin/env bash
# The release artefacts as a Windows user meets them, under Wine in the test
# prefix ($WINEPREFIX, made by scripts/test):
# - the zip holds exactly the portable folder; unpacked into a folder whose
#   name holds a blank and a non-ASCII letter, nullvane-cli runs there and
#   reads the NVane.dat beside it, and the winapp2.ini a user puts beside it;
# - the help file in the zip is a compiled help archive holding every page
#   of docs/help;
# - the MSI installs silently for the user, with the uninstall entry and the
#   Start menu shortcut, and the installed nullvane-cli tells its version; a
#   silent uninstall removes the program's files and leaves the user's
#   settings and lists. The installed files are the zip's. A later version
#   built from the same source replaces this one;
# - the machine MSI installs silently with ALLUSERS=1 into Program Files as
#   the machine's product with a Start menu entry, and a silent uninstall
#   removes them.
#
#   wine-package-test.sh DIST_FOLDER HELP_FOLDER BUILD_FOLDER INSTALLER_SOURCE
set -uo pipefail
dist=$(cd "${1:?dist folder}" && pwd)
help=$(cd "${2:?help folder}" && pwd)
build=$(cd "${3:?build folder}" && pwd)
wxs=$(realpath "${4:?WiX source of the installer}")
here=$(cd "$(dirname "$0")" && pwd)
: "${WINEPREFIX:?the tests run in the prefix scripts/test makes}"
export WINEDEBUG=${WINEDEBUG:--all}
# Wine names host files in the locale's encoding: UTF-8, for the folder name below.
export LC_ALL=C.UTF-8

failures=0
pass() { echo "ok   $*"; }
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
check() { local what=$1; shift; if "$@"; then pass "$what"; else fail "$what"; fi; }

zip=$(ls "$dist"/nullvane-*-win64.zip 2>/dev/null | head -n 1)
msi=$(ls "$dist"/nullvane-*-win64.msi 2>/dev/null | head -n 1)
machine_msi=$(ls "$dist"/nullvane-*-win64-machine.msi 2>/dev/null | head -n 1)
if [ -z "$zip" ] || [ -z "$msi" ] || [ -z "$machine_msi" ] || [ ! -f "$dist/SHA256SUMS" ]; then
    echo "FAIL no artefacts in $dist: run scripts/package after the Windows build"
    exit 1
fi
for file in nullvane.exe nullvane-cli.exe NVane.dat NVane.chm; do
    if [ "$zip" -ot "$build/$file" ]; then
        echo "FAIL $zip is older than $build/$file: run scripts/package again"
        exit 1
    fi
done
version=$(basename "$zip" | sed 's/^nullvane-\(.*\)-win64\.zip$/\1/')

user=$(ls "$WINEPREFIX/drive_c/users" | grep -vx Public | head -n 1)
home_dos="C:\\users\\$user"
home=$WINEPREFIX/drive_c/users/$user
work=$WINEPREFIX/drive_c/nullvane-package-test
rm -rf "$work"
mkdir -p "$work"

# --- The checksums and the zip's listing.
check "SHA256SUMS lists the three artefacts" test "$(wc -l < "$dist/SHA256SUMS")" -eq 3
check "SHA256SUMS matches the artefacts" bash -c "cd '$dist' && sha256sum --quiet -c SHA256SUMS"
listing=$(python3 -c 'import sys, zipfile; print("\n".join(sorted(zipfile.ZipFile(sys.argv[1]).namelist())))' "$zip")
expected=$(printf '%s\n' Nullvane/NVane.chm Nullvane/NVane.dat Nullvane/README.txt Nullvane/nullvane-cli.exe Nullvane/nullvane.exe | sort)
check "the zip holds the Nullvane folder with the programs, NVane.dat, NVane.chm and README.txt, nothing else" \
    test "$listing" = "$expected"

# --- The portable folder: a blank and a non-ASCII letter in its name.
portable="$work/Nullvane Prüfung"
mkdir -p "$portable"
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$portable"

# --- The help archive, as the zip carries it.
check "the zip's NVane.chm is a help archive holding every page of docs/help" \
    python3 "$here/chm_listing.py" "$portable/Nullvane/NVane.chm" --has "$help"
# nullvane-cli started from its folder, as a user types it there; prints
# what it printed (both streams) and ends with its status.
# Its console input comes from $cli_input (none unless set).
cli_input=/dev/null
cli_in() {
    (cd "$1" && wine nullvane-cli.exe "${@:2}" <"$cli_input" >"$work/cli.out" 2>&1)
    local status=$?
    tr -d '\r' <"$work/cli.out"
    return $status
}
out=$(cli_in "$portable/Nullvane" --preview "Windows - Temporary Files")
check "nullvane-cli --preview runs from the unpacked folder (status $?)" test $? -eq 0
check "its preview names the item and the total" \
    bash -c 'grep -q "Windows - Temporary Files" <<<"$1" && grep -q "^Total items will be removed = " <<<"$1"' _ "$out"
# A log file the applications data file names (the Windows folder's *.log):
# found only through the NVane.dat beside the program.
planted="$WINEPREFIX/drive_c/windows/nullvane-package-test.log"
echo "planted by the package test" > "$planted"
out=$(cli_in "$portable/Nullvane" --preview "Windows - Windows Log Files" --detail)
check "nullvane-cli in the unpacked folder reads the NVane.dat beside it" \
    grep -qi 'nullvane-package-test\.log' <<<"$out"
mv "$portable/Nullvane/NVane.dat" "$portable/Nullvane/NVane.dat.away"
out=$(cli_in "$portable/Nullvane" --preview "Windows - Windows Log Files" --detail)
check "without NVane.dat beside it the same preview finds nothing (the check above can fail)" \
    bash -c '! grep -qi "nullvane-package-test\.log" <<<"$1"' _ "$out"
mv "$portable/Nullvane/NVane.dat.away" "$portable/Nullvane/NVane.dat"
rm -f "$planted"

# --- A winapp2.ini the user put beside the program: the entries of programs
# laid out here are listed under "winapp2.ini" and cleaned behind the gate.
roaming="$home/AppData/Roaming"
sample="$roaming/Nullvane Sample Browser"
careful="$roaming/Nullvane Careful Tool"
mkdir -p "$sample/Cache" "$sample/Profile" "$careful"
echo page >"$sample/Cache/page.bin"
echo certificates >"$sample/Profile/cert9.db"
echo unsaved >"$careful/session.dat"
printf '%s\r\n' '; written by the package test' '[Nullvane Sample Browser *]' 'LangSecRef=3022' \
    'DetectFile=%AppData%\Nullvane Sample Browser' 'FileKey1=%AppData%\Nullvane Sample Browser|*.*|RECURSE' \
    '[Nullvane Careful Tool *]' 'LangSecRef=3021' 'DetectFile=%AppData%\Nullvane Careful Tool' \
    'Warning=This deletes unsaved sessions.' 'FileKey1=%AppData%\Nullvane Careful Tool|*.dat' \
    '[Nullvane Absent Tool *]' 'DetectFile=%AppData%\Nullvane Absent Tool' \
    'FileKey1=%AppData%\Nullvane Absent Tool|*.*' >"$portable/Nullvane/winapp2.ini"
has_line() { grep -qxF -- "$2" <<<"$1"; }
has_text() { grep -qiF -- "$2" <<<"$1"; }
out=$(cli_in "$portable/Nullvane" --list)
lists_detected() {
    has_line "$1" winapp2.ini && has_line "$1" $'  winapp2.ini - Nullvane Careful Tool\tApplications' &&
        has_line "$1" $'  winapp2.ini - Nullvane Sample Browser\tInternet'
}
check "--list shows the detected entries of the winapp2.ini beside the program under \"winapp2.ini\" with their group" \
    lists_detected "$out"
check "--list leaves out the entry of a program that is not here" bash -c '! grep -qF "Absent Tool" <<<"$1"' _ "$out"
echo y >"$work/yes.txt"
cli_input="$work/yes.txt"
out=$(cli_in "$portable/Nullvane" --clean "winapp2.ini - Nullvane Sample Browser" "winapp2.ini - Nullvane Careful Tool")
status=$?
cli_input=/dev/null
check "a Clean of winapp2.ini entries confirmed on the console ends with status 0 (it ended with $status)" test $status -eq 0
check "its first lines count the catalogue's entries" has_text "$out" "winapp2.ini: 3 entries read, 2 shown, 0 refused"
check "the entry's FileKey removes the browser's cache" test ! -e "$sample/Cache/page.bin"
check "and leaves the certificate store it reaches" test -f "$sample/Profile/cert9.db"
check "the log names the refusal" has_text "$out" \
    "winapp2.ini: Nullvane Sample Browser: refused: a browser's certificate store (cert9.db): $home_dos\\AppData\\Roaming\\Nullvane Sample Browser\\Profile\\cert9.db"
check "an entry whose warning was not accepted (no --yes) is not run" test -f "$careful/session.dat"
check "and the log says so" has_text "$out" "winapp2.ini: Nullvane Careful Tool: not run: its warning was not accepted"
rm -rf "$sample" "$careful" "$portable/Nullvane/winapp2.ini" "$work/yes.txt"

# --- The installer.
cp "$msi" "$work/"
msi_dos="C:\\nullvane-package-test\\$(basename "$msi")"
installed="$home/AppData/Local/Programs/Nullvane"
shortcut="$home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Nullvane.lnk"
wine msiexec /i "$msi_dos" /qn >/dev/null 2>&1
check "msiexec /i /qn ends with status 0" test $? -eq 0
wineserver -w
for file in nullvane.exe nullvane-cli.exe NVane.dat NVane.chm; do
    check "installed: %LOCALAPPDATA%\\Programs\\Nullvane\\$file, the same as the zip's" \
        cmp -s "$installed/$file" "$portable/Nullvane/$file"
done
check "installed: the Start menu shortcut" test -f "$shortcut"
out=$(wine "$home_dos\\AppData\\Local\\Programs\\Nullvane\\nullvane-cli.exe" --version 2>&1 </dev/null | tr -d '\r')
check "the installed nullvane-cli --version prints \"Nullvane $version\" (it printed \"$out\")" test "$out" = "Nullvane $version"

# The uninstall entry: Wine files a per-user product under a machine key, so
# all three places are read; one of them must hold the name and the version.
uninstall_entry() {
    local root version=${1:-$version}
    for root in 'HKCU\Software' 'HKLM\Software' 'HKLM\Software\WOW6432Node'; do
        wine reg query "$root\\Microsoft\\Windows\\CurrentVersion\\Uninstall" /s 2>/dev/null | tr -d '\r' | awk -v want="Nullvane $version" -v ver="$version" '
            /^HKEY_/ { name = ""; version = ""; next }
            $1 == "DisplayName" { sub(/^[ \t]*DisplayName[ \t]+REG_SZ[ \t]+/, ""); name = $0 }
            $1 == "DisplayVersion" { sub(/^[ \t]*DisplayVersion[ \t]+REG_SZ[ \t]+/, ""); version = $0 }
            name == want && version == ver { found = 1 }
            END { exit found ? 0 : 1 }' && return 0
    done
    return 1
}
check "the uninstall entry reads DisplayName \"Nullvane $version\", DisplayVersion $version" uninstall_entry

# The user's own files: settings in the application data folder (and where
# they go when that folder cannot be made), lists beside the program.
settings="$home/AppData/Roaming/Quillmark/Nullvane"
mkdir -p "$settings"
printf '[Settings]\r\nFastScan=1\r\n' > "$settings/options.ini"
printf '[Settings]\r\nFastScan=1\r\n' > "$installed/options.ini"
printf '[<New List>]\r\nDelFile1=C:\\Reports,*.log\r\n' > "$installed/Clist.dat"
printf '[Cookies to keep]\r\nCount=1\r\n0=example.com\r\n' > "$installed/Cookies.dat"

wine msiexec /x "$msi_dos" /qn >/dev/null 2>&1
check "msiexec /x /qn ends with status 0" test $? -eq 0
wineserver -w
for file in nullvane.exe nullvane-cli.exe NVane.dat NVane.chm README.txt; do
    check "uninstalled: $file is gone" test ! -e "$installed/$file"
done
check "uninstalled: the Start menu shortcut is gone" test ! -e "$shortcut"
no_uninstall_entry() { ! uninstall_entry "$@"; }
check "uninstalled: no uninstall entry is left" no_uninstall_entry
for file in "$settings/options.ini" "$installed/options.ini" "$installed/Clist.dat" "$installed/Cookies.dat"; do
    check "the user's ${file#$home/} stays" test -f "$file"
done

# --- A later version, built from the same source (the same UpgradeCode),
# replaces this one instead of installing beside it.
later=$version.1
mkdir -p "$work/later"
cp -r "$portable/Nullvane" "$work/later/"
(cd "$work/later" && wixl -a x64 -D Version="$later" -D SourceDir=Nullvane -o later.msi "$wxs") >/dev/null 2>&1
if [ -f "$work/later/later.msi" ]; then
    wine msiexec /i "$msi_dos" /qn >/dev/null 2>&1
    wine msiexec /i 'C:\nullvane-package-test\later\later.msi' /qn >/dev/null 2>&1
    check "version $later installs over $version (status $?)" test $? -eq 0
    wineserver -w
    check "after it, the uninstall entry is version $later's" uninstall_entry "$later"
    check "and version $version's entry is gone" no_uninstall_entry "$version"
    check "the programs are in place" test -f "$installed/nullvane.exe"
    wine msiexec /x 'C:\nullvane-package-test\later\later.msi' /qn >/dev/null 2>&1
    wineserver -w
    check "removing version $later leaves no entry" no_uninstall_entry "$later"
else
    fail "wixl made no installer of version $later from $wxs"
fi

# --- The install for every user of the machine.
cp "$machine_msi" "$work/"
machine_dos="C:\\nullvane-package-test\\$(basename "$machine_msi")"
machine_dir="$WINEPREFIX/drive_c/Program Files/Nullvane"
common_shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Nullvane.lnk"
wine msiexec /i "$machine_dos" ALLUSERS=1 /qn >/dev/null 2>&1
check "msiexec /i ...-machine.msi ALLUSERS=1 /qn ends with status 0 (status $?)" test $? -eq 0
wineserver -w
for file in nullvane.exe nullvane-cli.exe NVane.dat NVane.chm; do
    check "installed for all users: C:\\Program Files\\Nullvane\\$file, the same as the zip's" \
        cmp -s "$machine_dir/$file" "$portable/Nullvane/$file"
done
# Windows gives ProgramMenuFolder the all-users Start menu when ALLUSERS=1;
# Wine's installer always gives the user's, so either place counts here and
# the machine's own product registration shows the all-users install.
machine_product() {
    wine reg query 'HKLM\Software\Classes\Installer\Products' /s 2>/dev/null | tr -d '\r' |
        grep -q "ProductName.*Nullvane $version (all users)"
}
check "installed for all users: the product is the machine's, not the user's" machine_product
check "installed for all users: the Start menu entry" bash -c 'test -f "$1" || test -f "$2"' _ "$common_shortcut" "$shortcut"
out=$(wine 'C:\Program Files\Nullvane\nullvane-cli.exe' --version 2>&1 </dev/null | tr -d '\r')
check "the machine's nullvane-cli --version prints \"Nullvane $version\" (it printed \"$out\")" test "$out" = "Nullvane $version"
wine msiexec /x "$machine_dos" /qn >/dev/null 2>&1
check "msiexec /x ...-machine.msi /qn ends with status 0 (status $?)" test $? -eq 0
wineserver -w
check "uninstalled for all users: the programs are gone" test ! -e "$machine_dir/nullvane.exe"
check "uninstalled for all users: the Start menu entry is gone" bash -c 'test ! -e "$1" && test ! -e "$2"' _ "$common_shortcut" "$shortcut"
no_machine_product() { ! machine_product; }
check "uninstalled for all users: the product is no longer registered" no_machine_product

# Leave the prefix as the other tests expect it.
rm -rf "$work" "$installed" "$settings"
echo "$failures failure(s)"
[ "$failures" -eq 0 ]
