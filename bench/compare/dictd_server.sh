# Starts a dictd serving GCIDE on a free local port for the comparisons beside `dict`,
# sourced by them: sets work (a folder removed at exit) and port, and stops the server at
# exit. dictd drops its privileges after writing its pid file, so its folder must stay
# readable.
work=$(mktemp -d)
chmod 755 "$work"
# A port the system just handed out is free; dictd takes it over at once.
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat >"$work/dictd.conf" <<CONF
global {
  listen_to 127.0.0.1
  port $port
  pid_file $work/dictd.pid
}
database gcide {
  data "/usr/share/dictd/gcide.dict.dz"
  index "/usr/share/dictd/gcide.index"
}
CONF
dictd --config "$work/dictd.conf"
trap 'kill "$(cat "$work/dictd.pid" 2>/dev/null)" 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 50); do
  dict -h 127.0.0.1 -p "$port" -d gcide Dictionary >/dev/null 2>&1 && break
  sleep 0.1
done
