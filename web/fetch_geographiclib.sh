#!/bin/sh
# fetch_geographiclib.sh CACHE VERSION SHA256
#   -> the path of CACHE/geographiclib_VERSION.orig.tar.gz, Debian's original source tarball of
#      GeographicLib, its SHA-256 checked against SHA256.
# A file already in CACHE is used as it is when its checksum matches and fetched again when not.
# The mirror is the one apt fetches the installed libgeographiclib-dev from: Debian's pool keeps
# a source package's files in the folder of its binary packages. apt's own downloader fetches it,
# with the system's proxy settings, and refuses a file of another checksum.
# A failure is one line on stderr saying what to do.
set -eu
cache=$1 version=$2 sha256=$3
name=geographiclib_$version.orig.tar.gz
tarball=$cache/$name

if [ -f "$tarball" ] && [ "$(sha256sum <"$tarball" | cut -d ' ' -f 1)" = "$sha256" ]; then
    echo "$tarball"
    exit 0
fi

fail() {
    echo "GeographicLib $version: $*, or build the page from an unpacked source of it" \
         "with -DTARVEX_GEOGRAPHICLIB_SOURCE=DIR" >&2
    exit 1
}
installed=$(dpkg-query -W -f='${Version}' libgeographiclib-dev 2>/dev/null || true)
[ -n "$installed" ] || fail "libgeographiclib-dev is not installed: run make deps"
deb=$(apt-get download --print-uris "libgeographiclib-dev=$installed" 2>/dev/null |
      sed -n "s/^'\([^']*\)'.*/\1/p")
[ -n "$deb" ] ||
    fail "apt knows no mirror serving libgeographiclib-dev $installed: run apt-get update"
url=${deb%/*}/$name

mkdir -p "$cache" 2>/dev/null ||
    fail "$cache cannot be made: set XDG_CACHE_HOME to a writable folder"
# Fetched beside the cache's file and moved over it whole: builds sharing the cache never read
# half a file.
work=$(mktemp -d "$cache/.fetch.XXXXXX")
trap 'rm -rf "$work"' EXIT
# As root apt would fetch as its own user, who may not write into root's cache.
sandbox=
[ "$(id -u)" = 0 ] && sandbox="-o APT::Sandbox::User=root"
# shellcheck disable=SC2086
if ! /usr/lib/apt/apt-helper $sandbox download-file "$url" "$work/$name" "SHA256:$sha256" \
        >"$work/log" 2>&1; then
    reason=$(sed -n 's/^E: Failed to fetch [^ ]* *//p' "$work/log" | head -n 1)
    case $reason in
    *"Hash Sum mismatch"*)
        fail "$url is not the file pinned in web/geographiclib.cmake: correct the pin from" \
             "the Checksums-Sha256 of Debian's geographiclib_$version-*.dsc" ;;
    *"404"*)
        fail "$url is not on the mirror: pin the version of libgeographiclib-dev $installed" \
             "in web/geographiclib.cmake" ;;
    *) fail "not fetched from $url (${reason:-apt-helper failed}): connect to the network" \
            "and build again" ;;
    esac
fi
mv -f "$work/$name" "$tarball"
echo "$tarball"
