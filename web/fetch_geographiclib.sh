#!/bin/sh
# Fetches and unpacks Debian's source package of GeographicLib, the version the system's
# libgeographiclib-dev has, into the folder $1, through an apt configuration of its own inside
# that folder: the system's apt sources, lists and caches stay untouched. The mirror is the one
# the system already uses.
set -eu
out=$1
version=${2:-$(dpkg-query -W -f='${Version}' libgeographiclib-dev)}
mkdir -p "$out/apt/lists/partial" "$out/apt/cache/archives/partial" "$out/apt/parts" "$out/src"

# The first Debian mirror of the system: a deb822 .sources file or a one-line sources.list.
mirror= suite= keyring=
for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    mirror=$(awk '/^URIs:/ && !m { m = $2 } END { print m }' "$f")
    suite=$(awk '/^Suites:/ && !s { s = $2 } END { print s }' "$f")
    keyring=$(awk '/^Signed-By:/ && !k { k = $2 } END { print k }' "$f")
    [ -n "$mirror" ] && break
done
if [ -z "$mirror" ] && [ -f /etc/apt/sources.list ]; then
    set -- $(grep -E '^deb +(\[[^]]*\] +)?[a-z]+://' /etc/apt/sources.list | head -n 1 |
             sed -E 's/\[[^]]*\] +//')
    mirror=${2:-} suite=${3:-}
fi
[ -n "$mirror" ] || { echo "no Debian mirror found in the apt sources" >&2; exit 1; }
signed=
[ -n "$keyring" ] && signed="[signed-by=$keyring] "
echo "deb-src ${signed}${mirror} ${suite} main" > "$out/apt/sources.list"

# As root apt would fetch as its own user, who may not write into a build folder.
sandbox=
[ "$(id -u)" = 0 ] && sandbox="-o APT::Sandbox::User=root"
apt_private() {
    apt-get $sandbox -o Dir::Etc::SourceList="$out/apt/sources.list" \
            -o Dir::Etc::SourceParts="$out/apt/parts" \
            -o Dir::State::Lists="$out/apt/lists" \
            -o Dir::Cache="$out/apt/cache" \
            -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache= \
            -o Debug::NoLocking=true "$@"
}
apt_private -qq update
cd "$out/src"
apt_private -qq source "geographiclib=$version"
# One folder name whatever the version: the build names the files it compiles.
rm -rf "$out/tree"
mv "$out/src/geographiclib-${version%%-*}" "$out/tree"
