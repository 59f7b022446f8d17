#!/usr/bin/env bash
# End-to-end checks of the tdskn command: what an author or a script sees.
set -u
tdskn=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

check() {  # description, then a command that must succeed
    local what=$1
    shift
    if ! "$@" >"$work/out" 2>"$work/err"; then
        echo "FAILED: $what"
        cat "$work/out" "$work/err"
        failures=$((failures + 1))
    fi
}
refuse() {  # description, expected text on standard error, then a command that must fail
    local what=$1 text=$2
    shift 2
    if "$@" >"$work/out" 2>"$work/err"; then
        echo "FAILED (succeeded): $what"
        failures=$((failures + 1))
    elif ! grep -qF -- "$text" "$work/err"; then
        echo "FAILED (message): $what: expected '$text' in:"
        cat "$work/err"
        failures=$((failures + 1))
    fi
}
contains() {  # description, text expected in the last standard output
    if ! grep -qF -- "$2" "$work/out"; then
        echo "FAILED: $1: expected '$2' in:"
        cat "$work/out"
        failures=$((failures + 1))
    fi
}

check "help" "$tdskn" --help
contains "help" "tdskn new OUT.tdskn"
for command in new info verify extract; do
    check "$command --help" "$tdskn" "$command" --help
    contains "$command --help" "Usage: tdskn $command"
done
refuse "unknown command" "unknown command" "$tdskn" frobnicate
refuse "unknown option" "unknown option --bogus" "$tdskn" info x --bogus

skin="$work/水墨.tdskn"
check "new" "$tdskn" new "$skin" --name 水墨江南 --author 李白 --email libai@tang.com --description 山水
check "verify a new skin" "$tdskn" verify "$skin"
check "info" "$tdskn" info "$skin"
contains "info shows the name" "name: 水墨江南"
contains "info shows the author" "author: 李白"
contains "info shows the signature check" "signatureVerifies: true"
contains "info shows the first revision after a save" "revision: 2"
contains "info shows the defaults" "cnFont: 宋体"
check "info --json" "$tdskn" info "$skin" --json
contains "json" '"formatVersion": 2'
contains "json" '"skinId": "2f51290645b0593c4e419404ac92dc35"'
if command -v python3 >/dev/null; then
    cp "$work/out" "$work/info.json"
    check "json parses" python3 -c 'import json,sys; json.load(open(sys.argv[1]))' "$work/info.json"
fi

refuse "new over an existing file" "add --force" "$tdskn" new "$skin"
before=$(md5sum <"$skin")
refuse "bad e-mail" "邮箱内容格式不正确" "$tdskn" new "$work/other.tdskn" --email "not an address"
refuse "long name" "皮肤名字长度不能超过31个字符" "$tdskn" new "$work/other.tdskn" --name 12345678901234567890123456789012
check "new --force" "$tdskn" new "$skin" --force --name 水墨江南 --author 李白
[ "$(md5sum <"$skin")" != "$before" ] || { echo "FAILED: --force did not write"; failures=$((failures + 1)); }

check "extract" "$tdskn" extract "$skin" "$work/pictures"
for slot in 9 10 16 17 19 61 62 79; do
    [ -s "$work/pictures/$slot.png" ] || { echo "FAILED: extract wrote no $slot.png"; failures=$((failures + 1)); }
done
[ ! -e "$work/pictures/70.png" ] || { echo "FAILED: extract wrote a hidden item's picture"; failures=$((failures + 1)); }

# Damaged files: refused with one line naming the check.
head -c 600 "$skin" >"$work/short.tdskn"
refuse "short file" "bytes long" "$tdskn" verify "$work/short.tdskn"
refuse "info of a short file" "bytes long" "$tdskn" info "$work/short.tdskn"
cp "$skin" "$work/renamed.tdskn"
printf '\x58' | dd of="$work/renamed.tdskn" bs=1 seek=48 conv=notrunc status=none
refuse "changed name" "signature does not match" "$tdskn" verify "$work/renamed.tdskn"
check "info still shows a skin with a wrong signature" "$tdskn" info "$work/renamed.tdskn"
contains "info of a wrong signature" "signatureVerifies: false"
head -c 900 "$skin" >"$work/cut.tdskn"
refuse "cut stream" "zlib stream" "$tdskn" verify "$work/cut.tdskn"
[ "$(wc -l <"$work/err")" -eq 1 ] || { echo "FAILED: verify said more than one line"; failures=$((failures + 1)); }
refuse "missing file" "cannot read" "$tdskn" verify "$work/missing.tdskn"

# The engine's picture and measurements of a skin.
check "render a new skin" "$tdskn" render --new -o "$work/new.png"
contains "render" "wrote $work/new.png"
[ -s "$work/new.png" ] || { echo "FAILED: render wrote no picture"; failures=$((failures + 1)); }
check "render the status scene of a file" "$tdskn" render "$skin" --scene 1 --background black -o "$work/s1.png"
refuse "render scene out of range" "--scene takes 0 to 6" "$tdskn" render --new --scene 7 -o "$work/x.png"
refuse "render without output" "-o OUT.png is missing" "$tdskn" render --new
check "layout of the horizontal window" "$tdskn" layout --new --kind 0 --json
contains "layout" '"scheme": "INPUT_INFO"'
if command -v python3 >/dev/null; then
    cp "$work/out" "$work/layout.json"
    check "layout numbers" python3 - "$work/layout.json" <<'PY'
import json, sys
d = json.load(open(sys.argv[1]))
c, root = d["context"], d["controls"]
assert (root["id"], root["type"]) == (0, 0), root
r = root["rect"]
assert (r["right"] - r["left"], r["bottom"] - r["top"]) == (c["width"], c["height"]), (r, c)
kids = {k["id"]: k for k in root["children"]}
assert kids[1]["state"] == 3 and kids[0]["state"] == 0, "page buttons"
assert (c["prevPageLeft"], c["prevPageTop"]) == (kids[1]["rect"]["left"], kids[1]["rect"]["top"])
assert kids[4]["rect"]["top"] == kids[3]["rect"]["bottom"], "candidates below the composition"
assert len([k for k in kids[4]["children"] if k["rect"]["right"] > 0]) == 5, "five candidates"
PY
fi
check "layout of the status bar" "$tdskn" layout --new --status --json
contains "status bar width" '"width": 128'
refuse "layout without a window" "give --kind 0..3 or --status" "$tdskn" layout --new
refuse "layout of an unknown scenario" "--scenario takes" "$tdskn" layout --new --kind 1 --scenario X

[ "$failures" -eq 0 ] && echo "tdskn: all checks passed"
exit $((failures > 0))
