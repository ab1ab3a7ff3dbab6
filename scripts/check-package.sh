#!/usr/bin/env bash
# Checks the Debian package as Debian checks packages, then as a technician uses it:
#   lintian (no error, no warning: a judged one is overridden in packaging/lintian-overrides),
#   the AppStream file and the desktop entry inside it, what it holds and what it must not hold
#   (generated caches), the bash completion against kr31-cli --help;
#   then apt-get install, the programs, the manual page and the file type from /usr,
#   and apt-get remove --purge, after which nothing of it may be left.
# Usage: scripts/check-package.sh [kr31_*.deb]   (default: the one in build-pkg/). Needs root.
set -euo pipefail
cd "$(dirname "$0")/.."

deb=${1:-$(ls build-pkg/kr31_*.deb 2>/dev/null | head -n 1)}
[ -f "$deb" ] || { echo "check-package: no package (make package builds it)" >&2; exit 1; }
deb=$(realpath "$deb")
failures=0
fail() { echo "check-package: FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { echo "check-package: ok: $*"; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
version=$(dpkg-deb -f "$deb" Version)
echo "check-package: $deb (version $version, $(du -k "$deb" | cut -f1) KB)"

# --- The package as a file ---------------------------------------------------------------------
if lintian --fail-on error,warning "$deb" >"$work/lintian" 2>&1; then pass "lintian"; else fail "lintian"; fi
grep -v 'running with root privileges' "$work/lintian" || true

dpkg-deb -x "$deb" "$work/root"
root=$work/root
metainfo=$(ls "$root"/usr/share/metainfo/*.metainfo.xml)
if appstreamcli validate --no-net "$metainfo"; then pass "appstreamcli validate"; else fail "appstreamcli validate"; fi
if desktop-file-validate "$root"/usr/share/applications/kr31.desktop; then pass "desktop-file-validate"; else fail "desktop-file-validate"; fi
launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
[ -f "$root/usr/share/applications/$launchable" ] || fail "the AppStream launchable $launchable is not in the package"

contents=$(cd "$root" && find . -type f -o -type l | sed 's:^\./:/:' | sort)
for f in /usr/bin/kr31 /usr/bin/kr31-cli \
         /usr/share/man/man1/kr31.1.gz /usr/share/man/man1/kr31-cli.1.gz \
         /usr/share/applications/kr31.desktop /usr/share/mime/packages/kr31-mime.xml \
         /usr/share/icons/hicolor/256x256/apps/kr31.png /usr/share/bash-completion/completions/kr31-cli \
         /usr/share/doc/kr31/copyright /usr/share/doc/kr31/changelog.gz /usr/share/kr31/Img/kr31.png; do
    grep -qx "$f" <<<"$contents" || fail "missing $f"
done
for m in libkr31print.so libkr31textcontrol.so; do
    grep -q "^/usr/lib/.*kr31/$m$" <<<"$contents" || fail "missing the module $m"
done
# Caches are the system's (its triggers build them), never a package's.
caches=$(grep -E '^/usr/share/(mime|applications)/|\.cache$' <<<"$contents" |
         grep -Ev '^/usr/share/mime/packages/[^/]+\.xml$|^/usr/share/applications/[^/]+\.desktop$' || true)
[ -z "$caches" ] || fail "generated caches in the package: $caches"

# The completion offers the commands and options that kr31-cli --help lists, and .kr3 files to them.
help=$("$root/usr/bin/kr31-cli" --help)
complete_words() { # the words offered for the command line "$@" (its last word being completed)
    bash -c 'source /usr/share/bash-completion/bash_completion; source "$1"; shift
             COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
             _kr31_cli kr31-cli "${COMP_WORDS[-1]}" "${COMP_WORDS[-2]}"; printf "%s\n" "${COMPREPLY[@]}"' \
        _ "$root/usr/share/bash-completion/completions/kr31-cli" "$@" | sort
}
commands=$(sed -n 's/^  kr31-cli \([a-z]*\) .*/\1/p' <<<"$help" | sort)
options=$(grep -oE '(^|[ ,])--?[a-z]+' <<<"$help" | tr -d ' ,' | sort -u)
[ "$(complete_words kr31-cli '')" = "$commands" ] || fail "the completion's commands differ from kr31-cli --help"
[ "$(complete_words kr31-cli -)" = "$options" ] || fail "the completion's options differ from kr31-cli --help"
mkdir "$work/files" && touch "$work/files/a.kr3" "$work/files/b.wav"
[ "$(cd "$work/files" && complete_words kr31-cli --mode 1 play '')" = a.kr3 ] || fail "the completion offers no .kr3 file to play"
[ "$(cd "$work/files" && complete_words kr31-cli --mode '')" = "$(printf '0\n1\n2\n3')" ] || fail "the completion offers no mode"
# The modules are where kr31 looks for them: its folder and the path built into it.
modules=$(strings -a -el "$root/usr/bin/kr31" | grep -m1 -E '^/\.\./lib.*/kr31$' || true)
[ -f "$root/usr/bin$modules/libkr31print.so" ] || fail "kr31 looks for its modules in usr/bin$modules, which has none"

# --- Installed on the system -------------------------------------------------------------------
if dpkg-query -W -f='${Status}' kr31 2>/dev/null | grep -q "ok installed"; then
    echo "check-package: kr31 is installed already; removing it first"
    apt-get remove --purge -y -qq kr31 >/dev/null
fi
# Every path of the system but the package manager's own records and man's formatted pages (which
# the man kr31 below writes, as man does for any page it shows as root).
snapshot() {
    find /usr /etc /opt /var/lib /var/cache -xdev \
        \( -path /var/lib/dpkg -o -path /var/lib/apt -o -path /var/cache/apt -o -path /var/cache/debconf \
           -o -path /var/cache/ldconfig -o -path /var/lib/ucf -o -path /var/cache/man \) -prune -o -print 2>/dev/null | sort
}
snapshot >"$work/before"
export DEBIAN_FRONTEND=noninteractive
if apt-get install -y -qq "$deb" >"$work/install.log" 2>&1; then pass "apt-get install"; else cat "$work/install.log"; fail "apt-get install"; fi

if out=$(/usr/bin/kr31-cli --version) && [ "$out" = "kr31-cli $version" ]; then
    pass "kr31-cli --version: $out"
else
    fail "kr31-cli --version printed '${out:-}'"
fi
home=$(mktemp -d)
if out=$(cd / && HOME=$home XDG_RUNTIME_DIR=$home KR31_QUIT_AFTER_FIRST_PAINT=1 timeout 60 xvfb-run -a /usr/bin/kr31 2>&1) &&
   grep -q '^first paint [0-9]' <<<"$out"; then
    pass "kr31 painted its menu ($(grep '^first paint' <<<"$out"))"
else
    fail "kr31 did not paint its menu: $out"
fi
rm -rf "$home"
if MANPAGER=cat MANWIDTH=80 man kr31 2>/dev/null | grep -q 'kr31'; then pass "man kr31"; else fail "man kr31"; fi
if MANPAGER=cat MANWIDTH=80 man kr31-cli 2>/dev/null | grep -q 'kr31-cli'; then pass "man kr31-cli"; else fail "man kr31-cli"; fi
# The file type by name, as a file manager sees it (xdg-mime asks gio on such a desktop).
printf 'DD\r\n' >"$work/x.kr3"
type=$(XDG_CURRENT_DESKTOP=GNOME xdg-mime query filetype "$work/x.kr3" 2>/dev/null || true)
[ "$type" = application/x-kr31-program ] && pass "x.kr3 is $type" || fail "x.kr3 is '$type'"
app=$(XDG_DATA_DIRS=/usr/share xdg-mime query default application/x-kr31-program 2>/dev/null || true)
[ "$app" = kr31.desktop ] && pass "application/x-kr31-program opens with $app" || fail "application/x-kr31-program opens with '$app'"

# --- Removed -----------------------------------------------------------------------------------
if apt-get remove --purge -y -qq kr31 >"$work/remove.log" 2>&1; then pass "apt-get remove --purge"; else cat "$work/remove.log"; fail "apt-get remove --purge"; fi
dpkg-query -W -f='${Status}' kr31 2>/dev/null | grep -q "installed" && fail "kr31 still known to dpkg"
snapshot >"$work/after"
# Files that the install brought along with kr31 belong to its dependencies, which stay.
left=$(comm -13 "$work/before" "$work/after" | while read -r f; do dpkg -S "$f" >/dev/null 2>&1 || echo "$f"; done)
[ -z "$left" ] && pass "nothing left after the purge" || fail "left after the purge: $left"
traces=$(grep -rl 'x-kr31-program' /usr/share/mime /usr/share/applications 2>/dev/null || true)
[ -z "$traces" ] || fail "the file type is still known: $traces"

if [ "$failures" -ne 0 ]; then
    echo "check-package: $failures check(s) failed" >&2
    exit 1
fi
echo "check-package: all checks passed"
