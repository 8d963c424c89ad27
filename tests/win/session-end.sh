#!/usr/bin/env bash
# The real end of a Wine session against nullvane.exe, in the test prefix
# ($WINEPREFIX, made by scripts/test): with the end-of-session clean on and
# "Windows - Temporary Files" ticked, `wineboot -e -s` asks the program, which
# cleans, writes its settings and lets the session end. wineboot ends every
# process that owns a window, so this runs on its own, after the window tests.
#
#   session-end.sh BUILD_FOLDER
set -uo pipefail
build=$(cd "${1:?build folder}" && pwd)
: "${WINEPREFIX:?the tests run in the prefix scripts/test makes}"
export WINEDEBUG=${WINEDEBUG:--all}

folder() { winepath -u "$(wine cmd /c "echo %$1%" 2>/dev/null | tr -d '\r')" 2>/dev/null; }
appData=$(folder APPDATA)
temp=$(folder TEMP)
[ -d "$appData" ] && [ -d "$temp" ] || { echo "FAIL no application data or temporary folder in the prefix"; exit 1; }
settings="$appData/Quillmark/Nullvane"
mkdir -p "$settings"
printf '[Settings]\r\nAskForSweep=0\r\n[SChedule]\r\nShutdownWash=1\r\n[NodeSelected]\r\nSelectedCount=1\r\n1=Windows - Temporary Files\r\n' \
    > "$settings/options.ini"
echo leftover > "$temp/end-of-session-leftover.tmp"

failures=0
check() { if eval "$2"; then echo "ok   $1"; else echo "FAIL $1"; failures=$((failures + 1)); fi; }

(cd "$build" && exec wine ./nullvane.exe) &
program=$!
# The program is up once it has a window that answers; give it time to start.
sleep 8
check "the program runs before the session ends" "kill -0 $program 2>/dev/null"
check "its settings were not written yet" "! grep -q WashInterval '$settings/options.ini'"

timeout 60 wine wineboot -e -s
check "the session ended (wineboot status 0)" "[ $? -eq 0 ]"
ended=0
for _ in $(seq 1 100); do kill -0 $program 2>/dev/null || { ended=1; break; }; sleep 0.2; done
check "the program ended with the session" "[ $ended -eq 1 ]"
check "the temporary file was cleaned first" "[ ! -e '$temp/end-of-session-leftover.tmp' ]"
check "the settings were written" "grep -q WashInterval '$settings/options.ini'"

kill $program 2>/dev/null
rm -f "$settings/options.ini"
exit $((failures > 0))
