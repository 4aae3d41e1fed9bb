#!/usr/bin/env bash
# Fetches and unpacks the Debian source packages of libogg and libvorbis into DEST (DEST/libogg,
# DEST/libvorbis), so that the music fuzz target can compile the decoder with the fuzzing
# instrumentation instead of linking the uninstrumented system libraries.
#
# Uses a private apt configuration under DEST (a deb-src entry for the same Debian release as the
# machine, its own package lists and cache): the machine's apt setup is left untouched.
# Idempotent: once both trees are unpacked it only says so. Exits 1 with one line on stderr when
# the sources cannot be had (no network, no apt); the caller then falls back to the system
# libraries.
set -uo pipefail

dest=${1:?usage: codec_sources.sh DEST}
mkdir -p "$dest"
dest=$(cd "$dest" && pwd)

if [ -f "$dest/libogg/src/framing.c" ] && [ -f "$dest/libvorbis/lib/vorbisfile.c" ]; then
  echo "codec sources: cached in $dest"
  exit 0
fi

fail() {
  echo "codec sources unavailable ($1): the music fuzz target uses the system Ogg/Vorbis libraries" >&2
  exit 1
}

command -v apt-get >/dev/null || fail "no apt-get"
command -v dpkg-source >/dev/null || fail "no dpkg-source"
codename=$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}")
[ -n "$codename" ] || fail "unknown release"

apt_dir="$dest/apt"
rm -rf "$apt_dir" "$dest/download"
mkdir -p "$apt_dir/sources.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$dest/download"
: >"$apt_dir/none.list"
cat >"$apt_dir/sources.d/codec.sources" <<EOF
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $codename
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/none.list" -o "Dir::Etc::SourceParts=$apt_dir/sources.d"
          -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
          -o "APT::Sandbox::User=root" -q)

apt-get "${apt_opts[@]}" update >"$dest/apt.log" 2>&1 || fail "apt-get update failed, see $dest/apt.log"
(cd "$dest/download" && apt-get "${apt_opts[@]}" source --download-only libogg libvorbis) \
  >>"$dest/apt.log" 2>&1 || fail "apt-get source failed, see $dest/apt.log"

for pkg in libogg libvorbis; do
  dsc=$(ls "$dest/download/${pkg}"_*.dsc 2>/dev/null | head -n1)
  [ -n "$dsc" ] || fail "no $pkg source package"
  rm -rf "$dest/$pkg.tmp"
  # Unpacks the upstream tree with Debian's patches applied.
  dpkg-source --no-check -x "$dsc" "$dest/$pkg.tmp" >>"$dest/apt.log" 2>&1 || fail "dpkg-source $pkg failed"
  rm -rf "${dest:?}/$pkg"
  mv "$dest/$pkg.tmp" "$dest/$pkg"
done
rm -rf "$dest/download" "$apt_dir" "$dest"/*.orig.tar.* "$dest"/*.debian.tar.*
echo "codec sources: unpacked libogg and libvorbis into $dest"
