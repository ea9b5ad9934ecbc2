#!/usr/bin/env bash
# Installs the Debian package on this machine with apt-get, as a user would,
# lists an operation file with purge and wipes a scratch file with veldran,
# then removes the package (and any package its installation brought in) and
# checks that nothing is left behind. It changes the system's packages, so
# it runs as root, by hand or on a throw-away machine, not in the test suite.
#
# Usage: scripts/check-deb.sh [kestrane_*.deb]   (default: the one in build-deb/)
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(realpath "${1:-$(ls build-deb/kestrane_*.deb)}")

if dpkg-query -W -f='${Status}' kestrane 2>/dev/null | grep -q 'install ok installed'; then
    echo "kestrane is installed already; remove it before checking the package." >&2
    exit 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}
installed_packages() {
    dpkg-query -W -f='${Status} ${Package}\n' | awk '$3 == "installed" { print $4 }' | sort
}
# Folders a package may write to. Caches that the system's triggers rebuild
# for every package (man pages, shared libraries) change content, not names.
system_files() {
    find /usr /etc /opt /var/lib/dpkg/info -xdev 2>/dev/null | sort
}

installed_packages >"$work/packages.before"
system_files >"$work/files.before"

echo "== installing $deb"
DEBIAN_FRONTEND=noninteractive apt-get install -y "$deb" >"$work/apt-install.log" 2>&1 ||
    { cat "$work/apt-install.log" >&2; exit 1; }
installed_packages >"$work/packages.installed"
comm -13 "$work/packages.before" "$work/packages.installed" >"$work/packages.new"
echo "   packages brought in: $(tr '\n' ' ' <"$work/packages.new")"

# Used as a user uses it: by name from PATH, with a scratch home and drive.
export HOME="$work/home"
mkdir -p "$HOME" "$work/drive/old"
[[ $(command -v purge) == /usr/bin/purge ]] || fail "purge on PATH is $(command -v purge)"
[[ $(command -v veldran) == /usr/bin/veldran ]] || fail "veldran on PATH is $(command -v veldran)"
man -w purge >/dev/null 2>&1 || fail "man finds no page for purge"
man -w 8 veldran >/dev/null 2>&1 || fail "man finds no page for veldran"

head -c 5000 /dev/urandom >"$work/drive/old/report.doc"
printf '8.27\r\n 0 \r\n 0 \r\nC:\\old\\\r\n*.*\r\n 0 \r\n 1 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n' \
    >"$work/drive/monthly.kzs"
echo "== purge --list"
if KESTRANE_DRIVES="C=$work/drive" purge --list 'C:\monthly.kzs' >"$work/list.out" 2>&1; then
    sed 's/^/   /' "$work/list.out"
    grep -q "report.doc (5,000 bytes)" "$work/list.out" || fail "the listing does not show report.doc"
else
    fail "purge --list exited with $?: $(cat "$work/list.out")"
fi

echo "== veldran"
head -c 70000 /dev/urandom >"$work/scratch.swp"
if veldran "$work/scratch.swp" 5 </dev/null >"$work/veldran.out" 2>&1; then
    sed 's/^/   /' "$work/veldran.out"
    [[ ! -e $work/scratch.swp ]] || fail "veldran left the scratch file"
else
    fail "veldran exited with $?: $(cat "$work/veldran.out")"
fi
[[ -z $(ls -A "$HOME") ]] || fail "the programs wrote into HOME: $(ls -A "$HOME")"

echo "== removing"
DEBIAN_FRONTEND=noninteractive apt-get purge -y kestrane $(cat "$work/packages.new" | grep -vx kestrane || true) \
    >"$work/apt-remove.log" 2>&1 || { cat "$work/apt-remove.log" >&2; exit 1; }
installed_packages >"$work/packages.after"
system_files >"$work/files.after"
diff "$work/packages.before" "$work/packages.after" >"$work/packages.diff" ||
    fail "the installed packages differ: $(cat "$work/packages.diff")"
diff "$work/files.before" "$work/files.after" >"$work/files.diff" ||
    fail "files left behind or lost: $(head -20 "$work/files.diff")"
dpkg-query -W kestrane >/dev/null 2>&1 && fail "dpkg still knows kestrane"

if ((failures)); then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "== installed, used and removed cleanly: nothing left behind"
