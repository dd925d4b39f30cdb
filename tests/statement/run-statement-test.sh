#!/usr/bin/env bash
# The rescission statement end to end: distrato-script saves statements as
# PDF against a fresh demo database, and check_statement_pdf.py reads each
# PDF back (poppler) and compares it with what the server recorded
# (dxr10900-call GetTermoDistrato on the same server).
#   run-statement-test.sh SERVER SCRIPT_RUNNER MODULE CALL SOURCE_DIR
set -euo pipefail

if [ $# -ne 5 ]; then
  echo "usage: run-statement-test.sh SERVER SCRIPT_RUNNER MODULE CALL SOURCE_DIR" >&2
  exit 2
fi
server_bin=$1 runner_bin=$2 module=$3 call_bin=$4 src=$5
for program in "$server_bin" "$runner_bin" "$call_bin"; do
  [ -x "$program" ] || { echo "run-statement-test: $program is missing: build it first" >&2; exit 2; }
done
[ -f "$module" ] || { echo "run-statement-test: the module $module is missing: build it first" >&2; exit 2; }

work=$(mktemp -d)
server=""
cleanup() {
  if [ -n "$server" ]; then
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

db="$work/demo.db"
"$server_bin" --db "$db" --init-demo >"$work/init.log" 2>&1 || { cat "$work/init.log" >&2; exit 2; }
: >"$work/server.log"
"$server_bin" --db "$db" --listen 127.0.0.1:0 >"$work/server.log" 2>&1 &
server=$!
addr=""
for _ in $(seq 1 100); do
  addr=$(sed -n 's/^listening on //p' "$work/server.log" | head -n 1 || true)
  [ -n "$addr" ] && break
  kill -0 "$server" 2>/dev/null || break
  sleep 0.1
done
[ -n "$addr" ] || { cat "$work/server.log" >&2; echo "run-statement-test: the server did not start" >&2; exit 2; }

unset DX_SERVER DX_BRANCH DX_BRANCH_NAME DX_BRANCH_LOCKED DX_OPERATOR DX_PASSWORD DX_TLS DX_CA DX_DATE
export DX_OPERATOR=SUPERVISOR DX_PASSWORD=DISTRATO QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
cd "$work"

# Runs a scenario, then checks each PDF it saved against the server as it
# stands now: FILE=BRANCH/BUDGET/SEQ/CLIENT/ADDRESS[,...] for the parties in
# the document's order.
scenario() {
  local script=$1
  shift
  "$runner_bin" --server "$addr" --database "$db" --module "$module" "$src/$script" || {
    echo "--- server log ---"
    cat "$work/server.log"
    exit 1
  }
  python3 "$src/check_statement_pdf.py" --call "$call_bin" --server "$addr" "$@"
}

scenario statement_recorded.dscript \
  partial.pdf=0001/0000000107/02/1031/1 \
  consolidated.pdf=0001/0000000174/01/3307/1 \
  total.pdf=0001/0000000105/01/1027/1,0001/0000000105/01/1028/1,0001/0000000105/01/1028/2
scenario statement_undone.dscript undone.pdf=0001/0000000171/01/3301/1
