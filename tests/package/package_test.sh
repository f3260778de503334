#!/bin/bash
# Packages the already-built tree with CPack, checks the .deb (file list,
# dependencies, control texts, lintian), unpacks it into a scratch root with
# dpkg -x and runs the programs from there. The scratch root lies outside the
# build folder, so the programs may take their data only from the package.
#   package_test.sh BUILD_DIR VERSION
set -u
build=$1 version=$2
arch=$(dpkg --print-architecture)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# ---- the package -------------------------------------------------------------
cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb=$work/out/quelro_${version}_${arch}.deb
[ -f "$deb" ] || { ls "$work/out"; echo "FAIL: no $deb"; exit 1; }

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/files"
for f in /usr/bin/quelro /usr/bin/quelro-cli /usr/bin/quelro-radio-sim \
    /usr/share/applications/quelro.desktop \
    /usr/share/mime/packages/quelro.xml \
    /usr/share/icons/hicolor/scalable/apps/quelro.svg \
    /usr/share/icons/hicolor/256x256/apps/quelro.png \
    /usr/share/metainfo/io.github.quelro.Programmer.metainfo.xml \
    /usr/share/quelro/manual/en/index.html /usr/share/quelro/manual/zh/index.html \
    /usr/share/quelro/opencc/quelro_s2t_chars.json \
    /usr/share/man/man1/quelro.1.gz /usr/share/man/man1/quelro-cli.1.gz \
    /usr/share/bash-completion/completions/quelro-cli \
    /usr/share/doc/quelro/copyright /usr/share/doc/quelro/changelog.gz \
    /usr/lib/udev/rules.d/60-quelro-cables.rules; do
    grep -qxF "$f" "$work/files" || fail "the package lacks $f"
done
# Nothing from the build or source folders, and nothing outside /usr.
grep -v '^/usr/\|^/$' "$work/files" && fail "files outside /usr"

depends=$(dpkg-deb -f "$deb" Depends)
for d in libc6 libstdc++6 libqt6core6 libqt6widgets6 libqt6serialport6 libopencc1.1 \
    qt6-qpa-plugins fonts-wqy-microhei; do
    [[ ", $depends," == *", $d "* || ", $depends," == *", $d,"* ]] || fail "Depends lacks $d: $depends"
done
dpkg-deb -f "$deb" Description | grep -q '对讲机' || fail "the description has no Chinese line"
dpkg-deb -I "$deb" postinst | grep -q 'usermod -a -G dialout' || fail "postinst says nothing of dialout"
if command -v lintian >/dev/null; then
    lintian --fail-on error --suppress-tags-from-file /dev/null "$deb" >"$work/lintian" 2>&1 ||
        { cat "$work/lintian"; fail "lintian"; }
else
    fail "lintian is not installed (scripts/deps.sh installs it)"
fi

# ---- the programs, run from the scratch root ------------------------------------
root=$work/root
dpkg -x "$deb" "$root"
root=$(realpath "$root")
bin=$root/usr/bin
cd "$work"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
unset QUELRO_OPENCC_DIR
mkdir -p "$HOME"

"$bin/quelro-cli" new -o "$work/new.DAT" >/dev/null 2>&1 || fail "quelro-cli new"

# The file type: a saved programming is ours by its tag, another .dat file is not.
update-mime-database "$root/usr/share/mime" >/dev/null 2>&1 || fail "update-mime-database"
printf 'RMD4 is no tag\n' >"$work/other.dat"
content_type() { # $1: file
    XDG_DATA_DIRS=$root/usr/share:/usr/share gio info -a standard::content-type "$1" 2>/dev/null |
        sed -n 's/^ *standard::content-type: //p'
}
[ "$(content_type "$work/new.DAT")" = application/x-quelro-programming ] ||
    fail "a saved programming is $(content_type "$work/new.DAT")"
[ "$(content_type "$work/other.dat")" != application/x-quelro-programming ] ||
    fail "another .dat file is taken for a programming"
grep -qx 'Exec=quelro %f' "$root/usr/share/applications/quelro.desktop" || fail "Exec has no %f"
grep -qx 'MimeType=application/x-quelro-programming;' "$root/usr/share/applications/quelro.desktop" ||
    fail "the desktop entry names no type"
"$bin/quelro-cli" info "$work/new.DAT" --lang zh-Hant >"$work/info" 2>"$work/info.err" ||
    fail "quelro-cli info"
grep -q '頻' "$work/info" || fail "info --lang zh-Hant is not in Traditional Chinese"
[ -s "$work/info.err" ] && { cat "$work/info.err"; fail "info --lang zh-Hant complained"; }

# The window program in each language (the third byte of `parameter`): it
# must come up and stay up, and say nothing about missing data.
gui() { # $1: language byte
    mkdir -p "$XDG_CONFIG_HOME/quelro"
    printf "\\000\\000\\00$1" >"$XDG_CONFIG_HOME/quelro/parameter"
    timeout 4 "$bin/quelro" -platform offscreen >"$work/gui.out" 2>"$work/gui.err"
}
for language in 0 1 2; do
    gui $language
    status=$?
    [ $status = 124 ] || { cat "$work/gui.err"; fail "quelro in language $language ended with $status"; }
    grep -q 'warning: quelro_s2t' "$work/gui.err" && fail "quelro in language $language: $(cat "$work/gui.err")"
done

# F1 opens the installed manual: under Xvfb the browser is a stand-in
# xdg-open that notes the page it was given.
mkdir -p "$work/browser"
printf '#!/bin/sh\necho "$1" >>"%s"\n' "$work/opened" >"$work/browser/xdg-open"
chmod +x "$work/browser/xdg-open"
cat >"$work/press-f1" <<SCRIPT
#!/bin/bash
QT_QPA_PLATFORM=xcb "$bin/quelro" 2>"$work/f1.err" &
quelro=\$!
window=\$(timeout 60 xdotool search --sync --onlyvisible --class quelro | head -n 1)
# A busy machine may show the window before it takes keys: press again
# until the page is opened, for at most a minute.
for _ in \$(seq 120); do
    [ -n "\$window" ] || break
    xdotool windowfocus --sync "\$window" key F1
    sleep 0.5
    [ -s "$work/opened" ] && break
done
kill \$quelro
SCRIPT
chmod +x "$work/press-f1"
printf '\000\000\001' >"$XDG_CONFIG_HOME/quelro/parameter"
PATH=$work/browser:$PATH xvfb-run -a "$work/press-f1"
grep -qxF "file://$root/usr/share/quelro/manual/en/index.html" "$work/opened" 2>/dev/null ||
    fail "F1 did not open the installed English manual: $(cat "$work/opened" "$work/f1.err" 2>/dev/null)"

# Without the installed conversion table the programs must say so, not fall
# back on the source tree.
mv "$root/usr/share/quelro/opencc" "$work/opencc.away"
"$bin/quelro-cli" info "$work/new.DAT" --lang zh-Hant >/dev/null 2>"$work/info.err"
grep -q 'not found in ../share/quelro/opencc' "$work/info.err" ||
    fail "quelro-cli found a conversion table outside the installed tree"
gui 2
grep -q 'not found in ../share/quelro/opencc' "$work/gui.err" ||
    fail "quelro found a conversion table outside the installed tree"
mv "$work/opencc.away" "$root/usr/share/quelro/opencc"

# ---- manual pages and completion ------------------------------------------------
commands=$("$bin/quelro-cli" --help | sed -n '/^Subcommands:/,$p' | awk 'NR > 1 && /^  [a-z]/ {print $1}')
[ -n "$commands" ] || fail "no commands in quelro-cli --help"
for c in $commands; do
    zcat "$root/usr/share/man/man1/quelro-cli.1.gz" | grep -q "^$c\b\|[^a-z-]$c\b" ||
        fail "quelro-cli(1) lacks the command $c"
done
zcat "$root/usr/share/man/man1/quelro-cli.1.gz" | grep -q 'EXIT STATUS' || fail "quelro-cli(1) lacks EXIT STATUS"
zcat "$root/usr/share/man/man1/quelro.1.gz" | grep -q 'FILES' || fail "quelro(1) lacks FILES"

mkdir "$work/typed" "$work/typed/sub"
cd "$work/typed"
touch a.DAT b.json c.csv d.txt
complete_line() { # the words typed; prints the completions
    PATH=$bin:$PATH bash -c '
        source "$1"; shift
        COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
        _quelro_cli; printf "%s\n" "${COMPREPLY[@]}" | sort | tr "\n" " "' \
        _ "$root/usr/share/bash-completion/completions/quelro-cli" "$@"
}
expect() { # what, then the words
    local want=$1 got
    shift
    got=$(complete_line "$@")
    [[ " $got" == *" $want "* ]] || fail "completing '$*' gave '$got', not '$want'"
}
for c in $commands; do expect "$c" quelro-cli ""; done
expect "--lang" quelro-cli info --l
expect "zh-Hant" quelro-cli info a.DAT --lang zh-
expect "COM8" quelro-cli read --port ""
expect "a.DAT b.json c.csv sub" quelro-cli import ""
[[ $(complete_line quelro-cli import "") == *d.txt* ]] && fail "completion offers d.txt"

[ $failures = 0 ] && echo "package checks passed"
exit $((failures > 0))
