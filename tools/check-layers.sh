#!/usr/bin/env bash
# Fails when a source file includes a header of a higher layer. The layers, lowest first, are
# listed once, here; a folder may include its own headers and those of the folders before it.
# The synchronizer (sync/) meets the client only through files: it includes platform/, shared/
# and its own headers, nothing else. docs/architecture.md explains the order.
#
# usage: tools/check-layers.sh [SOURCE_DIR]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

layers="platform
shared/masterdata_file
component/core
component/masterdata
component/store
component/errors
component/views
component/forms
component/startup
component/com
component
tools/service
tools/company-server
tools/quillmere"
sync_may_include="platform shared sync"

find platform shared component sync tools -type f \( -name '*.cpp' -o -name '*.h' \) |
    sort |
    xargs grep -Hn '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' |
    awk -v layers="$layers" -v syncRoots="$sync_may_include" '
    BEGIN {
        count = split(layers, layer, "\n")
        for (i = 1; i <= count; i++) rank[layer[i]] = i
        split(syncRoots, syncRoot, " ")
        violations = 0
    }
    # The layer of a path: the longest listed folder it lies in; "" for none.
    function layerOf(path,    i, best) {
        best = ""
        for (i = 1; i <= count; i++)
            if (index(path, layer[i] "/") == 1 && length(layer[i]) > length(best)) best = layer[i]
        return best
    }
    function report(text) {
        print text > "/dev/stderr"
        violations++
    }
    {
        split($0, part, ":")
        file = part[1]; line = part[2]
        included = $0
        sub(/^[^"]*"/, "", included); sub(/".*$/, "", included)
        if (included !~ /^(platform|shared|component|sync|tools|tests)\//) next  # a library header
        if (index(file, "sync/") == 1) {
            allowed = 0
            for (r in syncRoot) if (index(included, syncRoot[r] "/") == 1) allowed = 1
            if (!allowed) report(file ":" line ": the synchronizer includes " included)
            next
        }
        from = layerOf(file)
        if (from == "") next
        to = layerOf(included)
        if (to == "")
            report(file ":" line ": " from " includes " included ", which belongs to no layer")
        else if (rank[to] > rank[from])
            report(file ":" line ": " from " includes " included " of " to ", a higher layer")
    }
    END {
        if (violations > 0) {
            print violations " include(s) go up a layer; see docs/architecture.md" > "/dev/stderr"
            exit 1
        }
        print "Layers: every include goes down or stays in its folder."
    }'
