# Starts `orviadic serve` on GCIDE (installed as 0x00010101 in ORVIADIC_REGISTRY_DIR) on a
# port the system picks, for the comparisons beside dictd, sourced after
# bench/compare/dictd_server.sh: needs tool and work, sets serve_port, and stops the server
# at exit before that script's own cleanup. SERVE_CPU pins it to a processor.
serve_log="$work/serve.log"
${SERVE_CPU:+taskset -c "$SERVE_CPU"} "$tool" serve --port 0 --db gcide=0x00010101 \
  >"$serve_log" 2>&1 &
serve_pid=$!
trap "kill $serve_pid 2>/dev/null || true; wait $serve_pid 2>/dev/null || true; $(trap -p EXIT |
  sed -E "s/^trap -- '(.*)' EXIT$/\1/")" EXIT
serve_port=
for _ in $(seq 300); do
  serve_port=$(sed -nE 's/^listening on .*:([0-9]+)$/\1/p' "$serve_log")
  [ -n "$serve_port" ] && break
  if ! kill -0 "$serve_pid" 2>/dev/null; then
    echo "orviadic serve did not start:" >&2
    cat "$serve_log" >&2
    exit 1
  fi
  sleep 0.1
done
[ -n "$serve_port" ] || { echo "orviadic serve did not say where it listens" >&2; exit 1; }
