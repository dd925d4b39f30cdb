#!/usr/bin/env bash
# Runs one distrato-script scenario against a fresh demo database:
#   run-scenario.sh SERVER SCRIPT_RUNNER MODULE SCENARIO
# creates the database, starts the application server on a free loopback
# port, runs the scenario with the server's address and the database as the
# host's database, and stops the server. The exit status is the runner's.
set -euo pipefail

if [ $# -ne 4 ]; then
  echo "usage: run-scenario.sh SERVER SCRIPT_RUNNER MODULE SCENARIO" >&2
  exit 2
fi
server_bin=$1
runner_bin=$2
module=$3
scenario=$4

for program in "$server_bin" "$runner_bin"; do
  [ -x "$program" ] || { echo "run-scenario: $program is missing: build it first" >&2; exit 2; }
done
if [ ! -f "$module" ]; then
  echo "run-scenario: the module $module is missing: build it first (scenario $scenario not run)" >&2
  exit 2
fi

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
"$server_bin" --db "$db" --init-demo >"$work/init.log" 2>&1 || {
  cat "$work/init.log" >&2
  echo "run-scenario: could not create the demo database" >&2
  exit 2
}

# The log exists before the server starts, so reading it never races the
# background start (a missing file would end this script under set -e).
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
if [ -z "$addr" ]; then
  cat "$work/server.log" >&2
  echo "run-scenario: the server did not say where it listens" >&2
  exit 2
fi

# The scenario says who logs in; nothing from the caller's environment leaks in.
# It starts as the demo supervisor, whose password a `login operator=...`
# keeps unless the scenario gives another with `password=`.
unset DX_SERVER DX_BRANCH DX_BRANCH_NAME DX_BRANCH_LOCKED DX_OPERATOR DX_PASSWORD DX_TLS DX_CA DX_DATE
export DX_OPERATOR=SUPERVISOR DX_PASSWORD=DISTRATO
status=0
"$runner_bin" --server "$addr" --database "$db" --module "$module" "$scenario" || status=$?
if [ $status -ne 0 ]; then
  echo "--- server log ---"
  cat "$work/server.log"
fi
exit $status
