#!/bin/sh
# Fetches freeglut's source for the Windows editor from Debian's source
# package, through apt with a sources list of its own (the system's apt
# set-up is left as it is), into a cache outside the source tree, and unpacks
# it there with Debian's patches. Prints the unpacked folder; does nothing
# (and never touches the network) when it is already there.
# usage: fetch-freeglut.sh        (cache: $MIRL_CACHE, default ~/.cache/mirl)
# On failure it says why in one line on standard error and exits 1.
set -u
cache=${MIRL_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/mirl}/freeglut
say() { echo "freeglut for Windows: $*" >&2; }

found() { # the unpacked source, if a whole one is there
    for d in "$cache"/freeglut-*/; do
        [ -f "$d/CMakeLists.txt" ] && [ -f "$d/.mirl-unpacked" ] && { echo "${d%/}"; return 0; }
    done
    return 1
}
found && exit 0

for tool in apt-get dpkg-source; do
    command -v $tool >/dev/null 2>&1 || { say "no $tool to fetch Debian's source package"; exit 1; }
done
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
[ -r $keyring ] || { say "no Debian archive keyring ($keyring)"; exit 1; }

apt=$cache/apt
rm -rf "$cache" && mkdir -p "$apt/sources.list.d" "$apt/lists/partial" "$cache/download" || {
    say "cannot create the cache $cache"; exit 1; }
cat >"$apt/sources.list.d/debian-src.sources" <<END
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: $keyring
END
opts="-q -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts=$apt/sources.list.d -o Dir::State::Lists=$apt/lists"
# shellcheck disable=SC2086
if ! apt-get $opts update >"$cache/fetch.log" 2>&1 ||
    ! (cd "$cache/download" && apt-get $opts source --download-only freeglut) >>"$cache/fetch.log" 2>&1; then
    say "Debian's source package could not be fetched (see $cache/fetch.log); the Windows editor is not built"
    exit 1
fi
dsc=$(ls "$cache"/download/freeglut_*.dsc 2>/dev/null | head -n 1)
version=$(basename "$dsc" .dsc | sed 's/^freeglut_//; s/-[^-]*$//')
if [ -z "$dsc" ] || ! dpkg-source -x "$dsc" "$cache/freeglut-$version" >>"$cache/fetch.log" 2>&1; then
    say "Debian's source package could not be unpacked (see $cache/fetch.log)"
    exit 1
fi
rm -rf "$apt/lists" "$cache"/freeglut_*.orig.* # the lists are 10 MB, needed only for the fetch
touch "$cache/freeglut-$version/.mirl-unpacked"
found
