# Sourced by the scripts here.

# Runs a command with its output kept aside; shows the output only when it fails.
quietly() {
    local log
    log=$(mktemp)
    if "$@" >"$log" 2>&1; then
        rm -f "$log"
        return 0
    fi
    local status=$?
    cat "$log" >&2
    rm -f "$log"
    echo "failed: $*" >&2
    return "$status"
}
