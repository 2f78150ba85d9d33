# shellcheck shell=bash
# Sourced by the packaging checks: prints the files an installation must contain, relative to
# the installation prefix.
#   expected_files <bindir> <datadir>
expected_files() {
    local bindir=$1 datadir=$2 size
    echo "$bindir/avatello"
    echo "$datadir/applications/org.example.Avatello.desktop"
    echo "$datadir/metainfo/org.example.Avatello.metainfo.xml"
    echo "$datadir/doc/avatello/copyright"
    echo "$datadir/man/man1/avatello.1"
    for size in 16 24 32 48 64 128 256; do
        echo "$datadir/icons/hicolor/${size}x${size}/apps/org.example.Avatello.png"
    done
}

# Prints the width and height stored in a PNG file's header.
png_size() {
    local bytes
    bytes=$(od -An -tu1 -j16 -N8 "$1" | tr -s ' \n' ' ')
    read -r w1 w2 w3 w4 h1 h2 h3 h4 <<<"$bytes"
    echo "$(((w1 << 24) | (w2 << 16) | (w3 << 8) | w4))x$(((h1 << 24) | (h2 << 16) | (h3 << 8) | h4))"
}

# Checks the files under an installation root; prints a FAIL line for each problem and returns
# non-zero if there was one.
#   check_tree <root> <bindir> <datadir>
check_tree() {
    local root=$1 bindir=$2 datadir=$3 file failed=0 size actual
    while read -r file; do
        if [ ! -f "$root/$file" ]; then
            echo "FAIL: $file is missing"
            failed=1
        fi
    done < <(expected_files "$bindir" "$datadir")
    [ -x "$root/$bindir/avatello" ] || { echo "FAIL: $bindir/avatello is not executable"; failed=1; }
    for size in 16 24 32 48 64 128 256; do
        file=$root/$datadir/icons/hicolor/${size}x${size}/apps/org.example.Avatello.png
        [ -f "$file" ] || continue
        actual=$(png_size "$file")
        if [ "$actual" != "${size}x${size}" ]; then
            echo "FAIL: the ${size}x${size} icon is $actual"
            failed=1
        fi
    done
    # permissions as the install rules set them, whatever the umask of the installer
    while read -r file; do
        echo "FAIL: ${file#"$root"/} has mode $(stat -c %a "$file"), not 755"
        failed=1
    done < <(find "$root" -mindepth 1 \( -type d -o -path "*/$bindir/avatello" \) ! -perm 755)
    while read -r file; do
        echo "FAIL: ${file#"$root"/} has mode $(stat -c %a "$file"), not 644"
        failed=1
    done < <(find "$root" -type f ! -path "*/$bindir/avatello" ! -perm 644)
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$root/$datadir/applications/org.example.Avatello.desktop" ||
            { echo "FAIL: the installed desktop entry does not validate"; failed=1; }
    fi
    return "$failed"
}

# Keeps the build folder's install_manifest.txt (which installing from it rewrites) and puts it
# back by restore_manifest.
#   save_manifest <build dir> <scratch dir>
save_manifest() {
    manifest_path=$1/install_manifest.txt
    manifest_copy=$2/install_manifest.txt.saved
    if [ -f "$manifest_path" ]; then cp -p "$manifest_path" "$manifest_copy"; fi
}
restore_manifest() {
    if [ -f "${manifest_copy:-}" ]; then
        cp -p "$manifest_copy" "$manifest_path"
    elif [ -n "${manifest_path:-}" ]; then
        rm -f "$manifest_path"
    fi
}
