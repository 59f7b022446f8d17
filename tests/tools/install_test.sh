#!/usr/bin/env bash
# The install loop as a user tries it: tdskn setup-host stands in for the input method's
# installer, its TandelConfig installs a skin, tdskn render --installed draws what the input
# method shows; then what cmake --install lays out. Everything happens below a temporary folder.
set -u
tdskn=$1
config_tool=$2
cmake=$3
build=$4
source_dir=$(cd "$(dirname "$0")/../.." && pwd -P)
work=$(cd "$(mktemp -d)" && pwd -P)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
export HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
export TANDEL_REGISTRY="$work/registry.ini"
skins="$XDG_DATA_HOME/Tandel/Skin"
failures=0

failed() {
    echo "FAILED: $1"
    failures=$((failures + 1))
}
check() {  # description, then a command that must succeed
    local what=$1
    shift
    if ! "$@" >"$work/out" 2>"$work/err"; then
        failed "$what"
        cat "$work/out" "$work/err"
    fi
}
refuse() {  # description, expected text on standard error, then a command that must fail
    local what=$1 text=$2
    shift 2
    if "$@" >"$work/out" 2>"$work/err"; then
        failed "$what (succeeded)"
    elif ! grep -qF -- "$text" "$work/err"; then
        failed "$what: expected '$text' on standard error, got:"
        cat "$work/err"
    fi
}
refuse_in_one_line() {  # as refuse, for TandelConfig, which says why in one line
    local before=$failures
    refuse "$@"
    [ "$failures" -ne "$before" ] || [ "$(wc -l <"$work/err")" -eq 1 ] ||
        { failed "$1: more than one line"; cat "$work/err"; }
}
contains() {  # description, text expected in the last standard output
    grep -qF -- "$2" "$work/out" || { failed "$1: expected '$2' in:"; cat "$work/out"; }
}
same() {  # description, two files that must be identical
    cmp -s "$2" "$3" || failed "$1: $2 and $3 differ"
}

# --- setup-host: the registry file keeps what else it holds ---
printf '; written by hand\n[Software\\Other]\nName=kept\n[software\\tandel]\nVersion=1.0\nExtra=kept\n' \
    >"$TANDEL_REGISTRY"
check "setup-host" "$tdskn" setup-host host/
contains "setup-host names the tool" "installed $work/host/2.6.0.1603/TandelConfig"
contains "setup-host names the registry file" "wrote $TANDEL_REGISTRY"
printf '; written by hand\n[Software\\Other]\nName=kept\n[software\\tandel]\nVersion=2.6.0.1603\nExtra=kept\nInstallDir=%s\n' \
    "$work/host" >"$work/expected.ini"
same "registry file after setup-host" "$work/expected.ini" "$TANDEL_REGISTRY"
tool="$work/host/2.6.0.1603/TandelConfig"
[ -x "$tool" ] || failed "setup-host left no executable $tool"
same "the copied tool" "$config_tool" "$tool"
check "setup-host again" "$tdskn" setup-host "$work/host"
same "registry file after a second setup-host" "$work/expected.ini" "$TANDEL_REGISTRY"
check "setup-host into the XDG configuration folder" env -u TANDEL_REGISTRY "$tdskn" setup-host other
printf '[Software\\Tandel]\nInstallDir=%s\nVersion=2.6.0.1603\n' "$work/other" >"$work/expected.ini"
same "registry file in XDG_CONFIG_HOME" "$work/expected.ini" "$XDG_CONFIG_HOME/Tandel/registry.ini"

check "usage" "$tdskn" --help
contains "usage" "tdskn setup-host DIR"
check "setup-host --help" "$tdskn" setup-host --help
contains "setup-host --help" "Usage: tdskn setup-host DIR"
refuse "setup-host without a folder" "expected one folder" "$tdskn" setup-host
mkdir "$work/alone"
cp "$tdskn" "$work/alone/tdskn"
refuse "setup-host without TandelConfig beside tdskn" "cannot find TandelConfig" \
    "$work/alone/tdskn" setup-host "$work/nowhere"
refuse "setup-host with a folder as the registry file" "cannot read the registry file" \
    env TANDEL_REGISTRY="$work/alone" "$tdskn" setup-host "$work/nowhere"
[ ! -e "$work/nowhere" ] || failed "a refused setup-host created its folder"

# --- TandelConfig installs a skin where the engine finds it ---
skin="$work/水墨.tdskn"
check "new" "$tdskn" new "$skin" --name 水墨江南 --author 李白
check "info" "$tdskn" info "$skin" --json
id=$(sed -n 's/.*"skinId": "\([0-9a-f]*\)".*/\1/p' "$work/out")
[ ${#id} -eq 32 ] || failed "no skin id in tdskn info: '$id'"
check "render before installing" "$tdskn" render --installed "$id" -o "$work/built-in.png"
check "install" "$tool" -installSkin "$skin"
contains "TandelConfig names the installed file" "$skins/$id.tdskn"
same "installed skin" "$skin" "$skins/$id.tdskn"
check "render the installed skin" "$tdskn" render --installed "$id" -o "$work/installed.png"
check "render the skin file" "$tdskn" render "$skin" -o "$work/file.png"
same "the installed skin drawn as its file" "$work/file.png" "$work/installed.png"
cmp -s "$work/built-in.png" "$work/installed.png" && failed "render --installed ignored the skin"
check "new skin of the same id" "$tdskn" new "$skin" --name 水墨江南 --author 李白 --description 新版 --force
check "install over the installed copy" "$tool" -installSkin "$skin"
same "reinstalled skin" "$skin" "$skins/$id.tdskn"
check "help" "$config_tool" --help
contains "help" "Usage: TandelConfig -installSkin"

# --- What TandelConfig refuses ---
refuse_in_one_line "no arguments" "expected -installSkin" "$config_tool"
refuse_in_one_line "no file" "expected -installSkin" "$config_tool" -installSkin
refuse_in_one_line "unknown option" "expected -installSkin" "$config_tool" -install "$skin"
refuse_in_one_line "missing file" "cannot read" "$config_tool" -installSkin "$work/missing.tdskn"
head -c 656 "$skin" >"$work/header.tdskn"
refuse_in_one_line "header only" "bytes long" "$config_tool" -installSkin "$work/header.tdskn"
head -c 900 "$skin" >"$work/cut.tdskn"
refuse_in_one_line "cut stream" "zlib stream" "$config_tool" -installSkin "$work/cut.tdskn"
patched() {  # name, offset, printf format of the bytes: a copy of the skin with them written
    cp "$skin" "$work/$1.tdskn" && printf "$3" | dd of="$work/$1.tdskn" bs=1 seek="$2" conv=notrunc status=none
    echo "$work/$1.tdskn"
}
refuse_in_one_line "wrong magic" "wrong magic" "$config_tool" -installSkin "$(patched magic 0 X)"
# The engine loads a skin whatever its signature, so a changed skin id is the id check's alone:
# a hexadecimal one is installed, any other refused.
check "changed hexadecimal skin id" "$config_tool" -installSkin "$(patched hex 16 0123456789ABCDEF)"
for bad in '../x' 'a/b' '0123456789abcdeg' 'abc\001' 'abc\t' 'abc\000'; do
    refuse_in_one_line "skin id with '$bad'" "skin id (file offset 16)" \
        "$config_tool" -installSkin "$(patched bad 16 "$bad")"
done
printf '%s\n' "$skins/$id.tdskn" "$skins/0123456789ABCDEF${id:16}.tdskn" | sort >"$work/expected"
find "$XDG_DATA_HOME" -type f | sort >"$work/found"
same "installed files" "$work/expected" "$work/found"
refuse_in_one_line "no user data folder" "user data folder is unknown" \
    env -u HOME -u XDG_DATA_HOME "$config_tool" -installSkin "$skin"
touch "$work/a-file"
refuse_in_one_line "user data folder below a file" "cannot create" \
    env XDG_DATA_HOME="$work/a-file" "$config_tool" -installSkin "$skin"

# --- cmake --install ---
prefix="$work/prefix"
check "cmake --install" "$cmake" --install "$build" --prefix "$prefix"
for program in tandel-skin-editor tdskn TandelConfig; do
    [ -x "$prefix/bin/$program" ] || failed "cmake --install left no bin/$program"
done
same "installed desktop entry" "$source_dir/assets/desktop/tandel-skin-editor.desktop" \
    "$prefix/share/applications/tandel-skin-editor.desktop"
same "installed file type" "$source_dir/assets/desktop/tandel-skin.xml" \
    "$prefix/share/mime/packages/tandel-skin.xml"
same "installed help page" "$source_dir/assets/help/skinhelp.html" \
    "$prefix/share/tandel-skin-editor/skinhelp.html"
for size in 16 32 48 64 128 256; do
    same "icon $size" "$source_dir/assets/pictures/icons/tandel-skin-editor-$size.png" \
        "$prefix/share/icons/hicolor/${size}x$size/apps/tandel-skin-editor.png"
done
check "desktop entry is valid" desktop-file-validate \
    "$prefix/share/applications/tandel-skin-editor.desktop"
grep -qxF 'MimeType=application/x-tandel-skin;' "$prefix/share/applications/tandel-skin-editor.desktop" ||
    failed "the desktop entry does not open skin files"
grep -qF 'application/x-tandel-skin:*.tdskn' "$prefix/share/mime/globs2" ||
    failed "the file type database of the prefix does not know *.tdskn"
grep -qF 'application/x-tandel-skin=tandel-skin-editor.desktop' \
    "$prefix/share/applications/mimeinfo.cache" ||
    failed "the desktop entry database of the prefix does not list the editor for skins"
export TANDEL_REGISTRY="$work/installed.ini"
check "installed tdskn setup-host" "$prefix/bin/tdskn" setup-host installed-host
same "TandelConfig taken from beside the installed tdskn" "$prefix/bin/TandelConfig" \
    "$work/installed-host/2.6.0.1603/TandelConfig"

# A staged install leaves the desktop's databases alone, here those of a system in $work/staged.
mkdir -p "$work/staged/share/mime/packages" "$work/staged/share/applications"
check "cmake --install with DESTDIR" env DESTDIR="$work/stage" \
    "$cmake" --install "$build" --prefix "$work/staged"
[ -x "$work/stage$work/staged/bin/tdskn" ] || failed "DESTDIR install left no bin/tdskn"
[ -f "$work/stage$work/staged/share/mime/packages/tandel-skin.xml" ] ||
    failed "DESTDIR install left no file type"
[ -z "$(find "$work/staged" -type f)" ] || failed "DESTDIR install updated the system's databases"

[ "$failures" -eq 0 ] && echo "install loop: all checks passed"
exit $((failures > 0))
