#!/usr/bin/env bash
# Builds the .deb, unpacks it into a fresh root with dpkg -x and runs the unpacked programs with
# nothing pointing at the build: no LD_LIBRARY_PATH, no TAVIRO_* folders.
#   installed_package_test.sh CPACK CPACK-CONFIG VERSION
set -euo pipefail
cpack=$1 config=$2 version=$3

work=$(mktemp -d)
serve_pid=""
cleanup() {
    [ -n "$serve_pid" ] && kill "$serve_pid" 2>/dev/null && wait "$serve_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
unset LD_LIBRARY_PATH TAVIRO_APP_DIR TAVIRO_DATA_DIR TAVIRO_ROOT
export TAVIRO_NOW="2026-12-07 09:05:00"

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
expect_status() {  # expect_status WANT LABEL COMMAND...
    local want=$1 label=$2 got=0
    shift 2
    "$@" >"$work/last.out" 2>&1 || got=$?
    [ "$got" -eq "$want" ] || { fail "$label: exit status $got, expected $want"; cat "$work/last.out" >&2; }
}
expect_output() {  # expect_output TEXT LABEL: the last command's output holds TEXT
    grep -qF -- "$1" "$work/last.out" || { fail "$2: no '$1' in"; cat "$work/last.out" >&2; }
}

"$cpack" --config "$config" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; exit 1; }
deb=$(echo "$work"/out/*.deb)
[ -f "$deb" ] || { echo "no package made" >&2; exit 1; }

# The control data: the Debian libraries the programs link, found by dpkg-shlibdeps.
depends=$(dpkg-deb -f "$deb" Depends)
for library in libsqlite3-0 libpq5 libpugixml1v5 libarchive13 libc6 libstdc++6; do
    [[ $depends == *"$library"* ]] || fail "Depends lacks $library: $depends"
done
[[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "version is not $version"

# What is in it, and what is not.
dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./||' >"$work/contents"
for file in usr/bin/quillmere usr/bin/brindlemoor usr/bin/company-server \
            usr/lib/taviro/libquillmere.so usr/lib/taviro/libtaviro_platform.so \
            usr/lib/systemd/system/brindlemoor.service usr/lib/systemd/system/brindlemoor.timer \
            usr/lib/sysusers.d/brindlemoor.conf usr/lib/tmpfiles.d/brindlemoor.conf \
            usr/share/taviro/app/index.html usr/share/taviro/data/FieldMapper.xml \
            usr/share/taviro/data/samples/download.xml usr/share/taviro/data/server/labels-1033.sql \
            usr/share/taviro/data/masterdata/schema.sql usr/share/doc/taviro/README.md \
            usr/share/doc/taviro/scheduling-brindlemoor.md; do
    grep -qxF "$file" "$work/contents" || fail "the package lacks $file"
done
if grep -E '_tests$|/tests?/|gtest|CMakeLists\.txt' "$work/contents"; then
    fail "the package holds test or build files (above)"
fi

root="$work/root"
dpkg -x "$deb" "$root"
bin="$root/usr/bin"

expect_status 0 "quillmere --version" "$bin/quillmere" --version
expect_output "$version" "quillmere --version"
expect_status 0 "brindlemoor --version" "$bin/brindlemoor" --version
expect_output "$version" "brindlemoor --version"

# A demo server root with one company and its sample ERP changes, from nothing to a first run.
server="$work/server"
mkdir -p "$server"
erp="sqlite:$work/erp500.db"
expect_status 0 "brindlemoor --init" "$bin/brindlemoor" --root "$server" --init \
    --server-db "sqlite:$work/server.db" --company 500 --erp "$erp"
expect_status 0 "brindlemoor --check" "$bin/brindlemoor" --root "$server" --check
if command -v sqlite3 >/dev/null; then
    "$root/usr/share/taviro/data/server/make-sample-erp-audit.sh" "$work/erp500.db" \
        "2026-12-07 08:00:00" >/dev/null
fi
expect_status 0 "brindlemoor --run" "$bin/brindlemoor" --root "$server" --run \
    --summary "$work/summary.json"
expect_output "Company 500:" "brindlemoor --run"
grep -qF '"outcome": "completed"' "$work/summary.json" || fail "summary: $(cat "$work/summary.json")"

# The engineer's side: `serve` finds the application and the delivered data next to itself.
laptop="$work/laptop"
mkdir -p "$laptop/C"
"$bin/quillmere" --root "$laptop" serve --port 0 >"$work/serve.out" 2>"$work/serve.err" &
serve_pid=$!
url=""
for _ in $(seq 100); do
    url=$(grep -o 'http://127\.0\.0\.1:[0-9]*/?token=[0-9a-f]*' "$work/serve.out" || true)
    [ -n "$url" ] && break
    sleep 0.1
done
if [ -z "$url" ]; then
    fail "quillmere serve did not start: $(cat "$work/serve.err")"
else
    base=${url%%/\?*}
    expect_status 0 "the application page" curl -sf -c "$work/cookies" "$url"
    expect_output "<html" "the application page"
    expect_status 0 "the delivered field definitions" \
        curl -sf -b "$work/cookies" "$base/delivered/FieldMapper.xml"
    expect_output "<" "the delivered field definitions"
fi

# The units, with their program at its unpacked place (verify checks that it is executable).
if command -v systemd-analyze >/dev/null; then
    units="$work/units"
    mkdir -p "$units"
    sed "s|/usr/bin/brindlemoor|$bin/brindlemoor|" \
        "$root/usr/lib/systemd/system/brindlemoor.service" >"$units/brindlemoor.service"
    cp "$root/usr/lib/systemd/system/brindlemoor.timer" "$units/"
    expect_status 0 "systemd-analyze verify" \
        systemd-analyze verify "$units/brindlemoor.service" "$units/brindlemoor.timer"
fi

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "The package $(basename "$deb") installs and runs."
