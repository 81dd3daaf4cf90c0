#!/usr/bin/env bash
# The Debian package made from a build tree: every file a desktop install
# needs is in it, it names the libraries the programs link, and the programs
# run from the unpacked tree.
#   installed_package_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
package="$work/out/zerolith_${version}_$(dpkg --print-architecture).deb"
[ -f "$package" ] || fail "no package $(basename "$package"): $(ls "$work/out")"

depends=$(dpkg-deb -f "$package" Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6widgets6 libqt6printsupport6 libqt6svg6 libqcustomplot2.1-qt6; do
  grep -q "\b$library\b" <<<"$depends" || fail "Depends lacks $library: $depends"
done

root="$work/root"
dpkg-deb -x "$package" "$root"
for file in usr/bin/zerolith usr/bin/zerolith-cli \
    usr/share/applications/zerolith.desktop usr/share/mime/packages/zerolith.xml \
    usr/share/icons/hicolor/scalable/apps/zerolith.svg usr/share/icons/hicolor/16x16/apps/zerolith.png \
    usr/share/icons/hicolor/48x48/apps/zerolith.png usr/share/icons/hicolor/256x256/apps/zerolith.png \
    usr/share/man/man1/zerolith-cli.1.gz usr/share/man/man1/zerolith.1.gz \
    usr/share/zerolith/manual/index.html usr/share/zerolith/examples/circle_and_line.zerolith \
    usr/share/doc/zerolith/copyright; do
  [ -s "$root/$file" ] || fail "the package lacks $file"
done
for program in zerolith zerolith-cli; do
  ! readelf -d "$root/usr/bin/$program" | grep -q 'R\(UN\)\?PATH' || fail "$program looks for libraries in the build tree"
done
file "$root/usr/share/icons/hicolor/48x48/apps/zerolith.png" | grep -q "48 x 48" || fail "the 48 pixel icon is not 48 pixels"

desktop="$root/usr/share/applications/zerolith.desktop"
grep -qx 'Exec=zerolith %f' "$desktop" && grep -qx 'Icon=zerolith' "$desktop" &&
  grep -qx 'MimeType=application/x-zerolith;' "$desktop" || fail "the desktop entry does not open problem files"
grep -q 'pattern="\*.zerolith"' "$root/usr/share/mime/packages/zerolith.xml" || fail "no MIME glob for .zerolith"
if command -v update-mime-database >/dev/null; then  # as the package's trigger runs it
  update-mime-database "$root/usr/share/mime" 2>/dev/null
  grep -q '^50:application/x-zerolith:\*\.zerolith$' "$root/usr/share/mime/globs2" || fail "the MIME type is not registered"
fi
zcat "$root/usr/share/man/man1/zerolith-cli.1.gz" | grep -q "^\.TH ZEROLITH-CLI 1 .*Zerolith $version" ||
  fail "the manual page does not carry the version"

[ "$("$root/usr/bin/zerolith-cli" --version)" = "zerolith-cli $version" ] || fail "zerolith-cli --version"
[ "$("$root/usr/bin/zerolith" --version)" = "zerolith $version" ] || fail "zerolith --version"
"$root/usr/bin/zerolith-cli" explore "$root/usr/share/zerolith/examples/circle_and_line.zerolith" >"$work/explore"
[ "$(tail -1 "$work/explore")" = "2 solutions" ] || fail "explore: $(cat "$work/explore")"
echo "$(basename "$package"): $(du -k "$package" | cut -f1) KiB, Depends: $depends"
