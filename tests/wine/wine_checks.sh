#!/bin/bash
# The Windows programs under wine, beside the Linux build of the same source:
# the CLI's conversions give the same bytes on both; quelro-cli.exe reads and
# writes the simulated radio through a COM port wine maps to the simulator's
# pseudo-terminal; quelro.exe starts in Chinese and in English on an X
# server, opens the file named on its command line, saves it unchanged and
# quits with status 0; its installer installs and uninstalls silently.
#   wine_checks.sh WINDOWS_FOLDER LINUX_BUILD      (WINEPREFIX set by the caller)
set -u
win=$(cd "$1" && pwd) linux=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
wine=/usr/lib/wine/wine64
work=$(mktemp -d)
sim_pid="" xvfb_pid="" wm_pid=""
cleanup() {
    for pid in $sim_pid $wm_pid $xvfb_pid; do kill "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
export WINEDEBUG=-all
cli() { "$wine" "$win/quelro-cli.exe" "$@"; }
# wine sees the Linux root as drive Z:.
winpath() { printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"; }

# ---- the same bytes from both builds -----------------------------------------
mkdir -p "$work/linux" "$work/win"
sample=$here/../../scripts/demo-sample.json
"$linux/quelro-cli" --quiet import "$sample" -o "$work/linux/a.DAT" || fail "Linux import"
"$linux/quelro-cli" --quiet export "$work/linux/a.DAT" -o "$work/linux/a.csv"
"$linux/quelro-cli" --quiet export "$work/linux/a.DAT" -o "$work/linux/a.json"
# Each row: a command over a.DAT and a.csv, and the file it writes (or "-":
# what it prints). Both builds run in a folder of their own.
n=0
while IFS='|' read -r args out; do
    [ -z "$args" ] && continue
    n=$((n + 1))
    for side in linux win; do
        mkdir -p "$work/$side/$n"
        cp "$work/linux/a.DAT" "$work/linux/a.csv" "$work/$side/$n/"
    done
    # shellcheck disable=SC2086
    (cd "$work/linux/$n" && "$linux/quelro-cli" --quiet $args >stdout 2>stderr; echo $? >status)
    # shellcheck disable=SC2086
    (cd "$work/win/$n" && cli --quiet $args >stdout 2>stderr; echo $? >status)
    cmp -s "$work/linux/$n/status" "$work/win/$n/status" ||
        fail "quelro-cli.exe $args: exit $(cat "$work/win/$n/status"), Linux $(cat "$work/linux/$n/status")"
    [ "$out" = - ] && out=stdout
    [ -s "$work/linux/$n/$out" ] || fail "quelro-cli $args wrote no $out"
    cmp -s "$work/linux/$n/$out" "$work/win/$n/$out" ||
        fail "quelro-cli.exe $args: $out differs from Linux ($(head -c 300 "$work/win/$n/stderr"))"
done <<ROWS
new -o fresh.DAT|fresh.DAT
export a.DAT -o a.json|a.json
export a.DAT -o b.csv|b.csv
import a.csv --base a.DAT -o c.DAT|c.DAT
info a.DAT --lang zh-Hant|-
info a.DAT --lang en|-
diff a.DAT a.csv --json|-
print a.DAT -o sheet.html --lang zh|sheet.html
print a.DAT -o sheet.pdf --lang zh-Hant|sheet.pdf
ROWS
(cd "$work/win" && cli --quiet import "$(winpath "$sample")" -o j.DAT) ||
    fail "quelro-cli.exe import of the JSON sample"
cmp -s "$work/linux/a.DAT" "$work/win/j.DAT" || fail "JSON import differs from Linux"
cp "$work/linux/a.DAT" "$work/win/"

# A Unicode folder and file name, through the command line.
mkdir -p "$work/win/王"
cp "$work/linux/a.DAT" "$work/win/王/收音机.DAT"
(cd "$work/win" && cli --quiet export "$(winpath "$work/win/王/收音机.DAT")" -o "王/收音机.json") ||
    fail "quelro-cli.exe on 王\\收音机.DAT"
cmp -s "$work/linux/a.json" "$work/win/王/收音机.json" || fail "export of 王\\收音机.DAT differs"

# ---- the serial link: COM7 is the simulator's pseudo-terminal ----------------
"$linux/quelro-radio-sim" --load "$work/linux/a.DAT" --save "$work/radio.DAT" >"$work/sim.out" 2>&1 &
sim_pid=$!
for _ in $(seq 1 50); do [ -s "$work/sim.out" ] && break; sleep 0.1; done
pty=$(head -n 1 "$work/sim.out")
"$wine" reg add 'HKLM\Software\Wine\Ports' /v COM7 /t REG_SZ /d "$pty" /f >/dev/null 2>&1
# wine maps its COM ports when its server starts.
/usr/lib/wine/wineserver -k 2>/dev/null
/usr/lib/wine/wineserver -p 2>/dev/null
"$linux/quelro-cli" --quiet read --port "$pty" -o "$work/linux/read.DAT" >/dev/null 2>&1 ||
    fail "Linux read of the simulator"
(cd "$work/win" && cli --quiet read --port COM7 -o read.DAT >read.out 2>&1) ||
    fail "quelro-cli.exe read through COM7: $(cat "$work/win/read.out")"
cmp -s "$work/win/read.DAT" "$work/linux/read.DAT" || fail "the read through COM7 differs from Linux's"
(cd "$work/win" && cli --quiet write --port COM7 --verify "$(winpath "$work/linux/1/fresh.DAT")" \
    >write.out 2>&1) || fail "quelro-cli.exe write --verify through COM7: $(cat "$work/win/write.out")"
kill "$sim_pid" 2>/dev/null
wait "$sim_pid" 2>/dev/null
sim_pid=""

# ---- the window program on an X server ---------------------------------------
# wine's settings folder of the user, where the program keeps `parameter`
# (lock, port, language: 0 Chinese, 1 English).
appdata="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/quelro"
display=":$((90 + $$ % 9))"
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
sleep 1
DISPLAY=$display openbox >/dev/null 2>&1 &
wm_pid=$!
# A wine session started without a display breaks the windows plugin.
/usr/lib/wine/wineserver -k 2>/dev/null
for lang in 0:zh 1:en; do
    mode=${lang%%:*} name=${lang#*:}
    mkdir -p "$appdata" "$work/gui_$name"
    printf '\000\000\00'"$mode" >"$appdata/parameter"
    file="$work/gui_$name/收音机.DAT"
    cp "$work/linux/a.DAT" "$file"
    touch -d @946684800 "$file" # so that a save shows in its time
    DISPLAY=$display "$wine" "$win/quelro.exe" "$(winpath "$file")" >"$work/gui_$name/log" 2>&1 &
    pid=$!
    window=""
    for _ in $(seq 1 100); do
        window=$(DISPLAY=$display xdotool search --name "收音机" 2>/dev/null | head -n 1)
        [ -n "$window" ] && break
        sleep 0.2
    done
    if [ -z "$window" ]; then
        fail "quelro.exe ($name) shows no window named after the file"
        kill "$pid" 2>/dev/null
        continue
    fi
    sleep 1
    DISPLAY=$display import -window root "$work/gui_$name/screen.png" 2>/dev/null
    # A settings window: Programming (Alt+P), its third entry, Optional functions.
    DISPLAY=$display xdotool windowactivate --sync "$window" key alt+p 2>/dev/null
    sleep 1
    DISPLAY=$display xdotool key Down Down Return 2>/dev/null
    sleep 3
    if DISPLAY=$display xdotool search --onlyvisible --name "$([ "$name" = zh ] && echo 可选功能 || echo Optional)" \
        >/dev/null 2>&1; then
        DISPLAY=$display import -window root "$work/gui_$name/settings.png" 2>/dev/null
    else
        fail "quelro.exe ($name): Alt+P, Down, Down, Return opens no Optional functions window"
    fi
    DISPLAY=$display xdotool key Escape 2>/dev/null
    sleep 1
    # Save asks for the name (the file's own is offered) and whether to
    # overwrite it: Enter takes both.
    DISPLAY=$display xdotool windowactivate --sync "$window" key ctrl+s 2>/dev/null
    sleep 3
    DISPLAY=$display xdotool key Return 2>/dev/null
    sleep 2
    DISPLAY=$display xdotool key Return 2>/dev/null
    sleep 2
    DISPLAY=$display xdotool windowactivate --sync "$window" key ctrl+q 2>/dev/null
    status=timeout
    for _ in $(seq 1 100); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid"
            status=$?
            break
        fi
        sleep 0.2
    done
    [ "$status" = 0 ] || { fail "quelro.exe ($name) ended with status $status"; kill "$pid" 2>/dev/null; }
    cmp -s "$work/linux/a.DAT" "$file" || fail "quelro.exe ($name) changed the bytes of the file it saved"
    [ "$file" -nt "$work/linux/a.DAT" ] || fail "quelro.exe ($name) did not save the file"
done
for shot in screen settings; do
    [ -s "$work/gui_zh/$shot.png" ] && [ -s "$work/gui_en/$shot.png" ] || fail "no $shot screenshot"
    cmp -s "$work/gui_zh/$shot.png" "$work/gui_en/$shot.png" &&
        fail "the $shot screenshot is the same in Chinese and English"
    for name in zh en; do
        [ -n "${QUELRO_SCREENSHOTS:-}" ] && [ -s "$work/gui_$name/$shot.png" ] &&
            cp "$work/gui_$name/$shot.png" "$QUELRO_SCREENSHOTS/win32_${shot/screen/main}_$name.png"
    done
done
/usr/lib/wine/wineserver -k 2>/dev/null

# ---- the installer: silent per-user install and uninstall --------------------
# An uncompressed installer of the same folder; the uninstaller must leave a
# file of the user's in the folder, and every registry key it wrote must go.
version=$(cli --version | tr -d '\r' | sed 's/^quelro-cli //')
sh "$here/../../scripts/windows-installer.sh" "$win" "$work/setup.exe" "$version" off >/dev/null ||
    fail "makensis"
programs="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Programs/Quelro Programmer"
menu="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\QuelroProgrammer'
rm -rf "$programs"
regvalue() { "$wine" reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p'; }
"$wine" "$work/setup.exe" /S || fail "the installer's silent install"
/usr/lib/wine/wineserver -w
[ "$("$wine" "$programs/quelro-cli.exe" --version | tr -d '\r')" = "quelro-cli $version" ] ||
    fail "the installed quelro-cli.exe does not start"
[ -f "$menu/Quelro Programmer.lnk" ] || fail "no Start-menu entry"
case "$(regvalue 'HKCU\Software\Classes\Quelro.DAT\shell\open\command')" in
*'Quelro Programmer\quelro.exe" "%1"') ;;
*) fail ".DAT files do not open with the installed quelro.exe" ;;
esac
"$wine" reg query "$uninstall_key" /v UninstallString >/dev/null 2>&1 || fail "no uninstall entry"
echo "mine" >"$programs/notes.txt"
"$wine" "$programs/uninstall.exe" /S || fail "the uninstaller's silent run"
/usr/lib/wine/wineserver -w
[ "$(ls -A "$programs" 2>/dev/null)" = notes.txt ] ||
    fail "the uninstaller left $(ls -A "$programs" | head -n 3 | tr '\n' ' ')or took the user's file"
[ -e "$menu/Quelro Programmer.lnk" ] && fail "the Start-menu entry stays after uninstall"
for key in "$uninstall_key" 'HKCU\Software\Classes\Quelro.DAT' 'HKCU\Software\Classes\.DAT'; do
    "$wine" reg query "$key" >/dev/null 2>&1 && fail "$key stays after uninstall"
done
rm -rf "$programs"
/usr/lib/wine/wineserver -k 2>/dev/null

if [ "$failures" -gt 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "wine checks passed"
