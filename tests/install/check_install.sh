#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks what a user gets:
# the program folder and the links on PATH, that the programs run through
# those links (purge must find its library and texts beside its real
# executable), that the menu entries and the AppStream metadata validate,
# that the man pages render without warnings, and that the user manual's
# ZIP holds kz.htm and every page the manual links to.
#
# Usage: check_install.sh BUILD_DIR INSTALL_PREFIX
set -euo pipefail
build_dir=$1
prefix=$2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

DESTDIR="$work/root" cmake --install "$build_dir" >"$work/install.log"
root="$work/root$prefix"
program_dir="$root/lib/kestrane"

# The layout.
for file in purge libtorvix.so kz_text.dat kz_user_manual.zip veldran; do
    [[ -f $program_dir/$file ]] || fail "lib/kestrane/$file is missing"
done
[[ -x $program_dir/purge && -x $program_dir/veldran ]] || fail "the programs are not executable"
for program in purge veldran; do
    target=$(readlink "$root/bin/$program" || true)
    [[ $target == ../lib/kestrane/$program ]] || fail "bin/$program links to '$target'"
done
for file in share/applications/org.kestrane.Kestrane.desktop \
    share/applications/org.kestrane.Kestrane.Manual.desktop \
    share/metainfo/org.kestrane.Kestrane.metainfo.xml \
    share/icons/hicolor/scalable/apps/org.kestrane.Kestrane.svg \
    share/man/man1/purge.1.gz share/man/man8/veldran.8.gz \
    share/bash-completion/completions/purge \
    share/kestrane/manual/kz.htm share/doc/kestrane/copyright; do
    [[ -f $root/$file ]] || fail "$file is missing"
done

# The programs, started by name from PATH as a user starts them. HOME is a
# scratch folder, so that a run that wrote settings would show it.
export HOME="$work/home" PATH="$root/bin:$PATH"
mkdir -p "$HOME"
help=$(purge --help) || fail "purge --help exited with $?"
grep -q -- "--list FILE.kzs" <<<"$help" || fail "purge --help printed no usage"
usage=$(veldran) || fail "veldran without arguments exited with $?"
grep -q "num_writes" <<<"$usage" || fail "veldran printed no usage"

# A listing needs the purge library and the program texts, which purge
# finds only through its real folder, not the folder of the link.
drive="$work/drive"
mkdir -p "$drive/old"
printf 'secret' >"$drive/old/letter.txt"
printf '8.27\r\n 0 \r\n 0 \r\nC:\\old\\\r\n*.*\r\n 0 \r\n 1 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n' \
    >"$drive/list.kzs"
if listing=$(KESTRANE_DRIVES="C=$drive" purge --list 'C:\list.kzs' 2>"$work/list.err"); then
    grep -q "letter.txt (6 bytes)" <<<"$listing" || fail "the installed purge listed: $listing"
else
    fail "the installed purge --list exited with $?: $(cat "$work/list.err")"
fi
[[ -f $drive/old/letter.txt ]] || fail "a listing removed a file"
[[ -z $(ls -A "$HOME") ]] || fail "a listing wrote into HOME: $(ls -A "$HOME")"

# Menu entries and metadata.
for entry in "$root"/share/applications/*.desktop; do
    desktop-file-validate "$entry" || fail "$(basename "$entry") does not validate"
done
grep -q "^Exec=$prefix/bin/purge$" "$root/share/applications/org.kestrane.Kestrane.desktop" ||
    fail "the program's menu entry does not start $prefix/bin/purge"
grep -q "^Exec=xdg-open $prefix/share/kestrane/manual/kz.htm$" \
    "$root/share/applications/org.kestrane.Kestrane.Manual.desktop" ||
    fail "the manual's menu entry does not open the installed kz.htm"
appstreamcli validate --no-net "$root/share/metainfo/org.kestrane.Kestrane.metainfo.xml" \
    >"$work/appstream.log" 2>&1 || fail "the AppStream metadata does not validate: $(cat "$work/appstream.log")"

# Man pages: rendered as man-db renders them, with groff's warnings on.
for page in "$root/share/man/man1/purge.1.gz" "$root/share/man/man8/veldran.8.gz"; do
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
        man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null) ||
        fail "$(basename "$page") does not render"
    [[ -z $warnings ]] || fail "$(basename "$page") renders with warnings: $warnings"
    ! zgrep -q "@[A-Z_]*@" "$page" || fail "$(basename "$page") has unfilled @names@"
done

# The manual: every page reachable from kz.htm is in the ZIP, and so is
# everything those pages refer to.
manual="$work/manual"
mkdir -p "$manual"
(cd "$manual" && cmake -E tar xf "$program_dir/kz_user_manual.zip")
[[ -f $manual/kz.htm ]] || fail "kz_user_manual.zip holds no kz.htm"
pending=(kz.htm)
declare -A seen=([kz.htm]=1)
while ((${#pending[@]})); do
    page=${pending[0]}
    pending=("${pending[@]:1}")
    [[ -f $manual/$page ]] || continue
    while read -r link; do
        link=${link%%#*}
        [[ -z $link || $link == *:* ]] && continue
        if [[ ! -f $manual/$link ]]; then
            fail "$page refers to $link, which the ZIP does not hold"
        elif [[ -z ${seen[$link]:-} ]]; then
            seen[$link]=1
            [[ $link == *.htm ]] && pending+=("$link")
        fi
    done < <(grep -oE '(href|src)="[^"]*"' "$manual/$page" | sed -E 's/^[a-z]+="(.*)"$/\1/')
done
((${#seen[@]} >= 10)) || fail "the manual has only ${#seen[@]} linked files"

if ((failures)); then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "installation checked: layout, programs via PATH, menu entries, metadata, man pages, ${#seen[@]} manual files"
