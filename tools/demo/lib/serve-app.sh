#!/usr/bin/env bash
# ./run app: the engineer's application for a person's browser. Prepares a company server's root
# (the synchronizer's first run, the sample orders, the SC-NORTH master-data package) and an
# engineer's laptop, starts the company-server stand-in and `quillmere serve`, and prints the
# address to open. Both roots stay in BUILD/app-day, so the next `./run app` goes on with the same
# day; `--fresh` starts a new one. Ctrl-C stops both programs.
#   serve-app.sh BUILD-DIR [--fresh] [--open]
set -euo pipefail
build=$(cd "${1:?usage: serve-app.sh BUILD-DIR [--fresh] [--open]}" && pwd)
shift
here=$(cd "$(dirname "$0")" && pwd)
fresh=no
open=()
for option in "$@"; do
    case "$option" in
        --fresh) fresh=yes ;;
        --open) open=(--open) ;;
        *) echo "serve-app.sh: unknown option $option" >&2; exit 2 ;;
    esac
done

export QUILLMERE="$build/bin/quillmere"
day="$build/app-day"
server="$day/server"
laptop="$day/laptop"
[ "$fresh" = yes ] && rm -rf "$day"

if [ ! -d "$server" ]; then
    echo "Preparing the company server's root in $server"
    "$here/server-root.sh" "$server"
    TAVIRO_NOW="2026-12-07 09:05:00" "$build/bin/brindlemoor" --root "$server" --run >/dev/null
fi
if [ ! -d "$laptop" ]; then
    echo "Preparing the engineer's laptop in $laptop"
    mkdir -p "$laptop/C"
    # Who works on this laptop; the application installs the rest at its first start.
    printf '{"engineer": "E1042", "company": "500", "serviceCenter": "SC-NORTH"}\n' > "$laptop/quillmere-app.json"
fi

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
log="$day/programs.log"
: > "$log"

"$build/bin/company-server" --root "$server" --port 0 \
    --origin "http://127.0.0.1:$port" --origin "http://localhost:$port" > "$day/company.out" 2>>"$log" &
company_pid=$!
host_pid=""
# Ctrl-C or a TERM to this script stops both programs (each stops cleanly on SIGTERM).
stop() {
    kill $host_pid "$company_pid" 2>/dev/null || true
    wait 2>/dev/null || true
}
trap stop EXIT
trap 'exit 0' INT TERM

company_url=""
for _ in $(seq 100); do
    company_url=$(grep -o 'http://127\.0\.0\.1:[0-9]*' "$day/company.out" | head -1 || true)
    [ -n "$company_url" ] && break
    kill -0 "$company_pid" 2>/dev/null || { cat "$log" >&2; exit 1; }
    sleep 0.1
done
[ -n "$company_url" ] || { echo "The company server did not start; see $log" >&2; exit 1; }

echo "Company server (stand-in): $company_url"
echo "Request logs: $log"
echo "Press Ctrl-C to stop."
echo
"$build/bin/quillmere" --root "$laptop" serve --port "$port" --company "$company_url" "${open[@]}" 2>>"$log" &
host_pid=$!
wait "$host_pid"
