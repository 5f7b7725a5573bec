#!/usr/bin/env bash
# A throwaway PostgreSQL server for the tests and the benchmarks: a new cluster in FOLDER, reached
# only through a Unix socket in that folder (no TCP port), with trusted local connections for the
# role "vendral". As root, the server runs as the "postgres" system user that the Debian package
# creates (PostgreSQL refuses to run as root). Never touches the package's own clusters.
#   postgres-prova.sh avvia FOLDER [PORT]   starts it (stopping and removing an earlier one in
#                                          FOLDER) and prints its connection URI
#   postgres-prova.sh ferma FOLDER          stops it and removes FOLDER
set -euo pipefail
azione=${1:?azione: avvia o ferma}
cartella=$(realpath -m "${2:?cartella del server}")
porta=${3:-54329}
# The server's user may not be allowed into the caller's folder (a root home, for one).
cd /

bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [ -z "$bin" ] || [ ! -x "$bin/initdb" ]; then
  echo "server PostgreSQL non installato (bash scripts/install-deps.sh)" >&2
  exit 1
fi

come_proprietario() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

ferma() {
  if [ -f "$cartella/dati/postmaster.pid" ]; then
    come_proprietario "$bin/pg_ctl" -D "$cartella/dati" -m fast -w -t 60 stop >/dev/null 2>&1 || true
  fi
  rm -rf "$cartella"
}

case $azione in
  avvia)
    ferma
    mkdir -p "$cartella"
    chmod 700 "$cartella"
    if [ "$(id -u)" -eq 0 ]; then chown postgres: "$cartella"; fi
    if ! come_proprietario "$bin/initdb" -D "$cartella/dati" -U vendral --auth=trust -E UTF8 \
        --locale=C.UTF-8 -N >"$cartella/initdb.log" 2>&1; then
      cat "$cartella/initdb.log" >&2
      exit 1
    fi
    if ! come_proprietario "$bin/pg_ctl" -D "$cartella/dati" -l "$cartella/server.log" -w -t 60 \
        -o "-c listen_addresses='' -k $cartella -p $porta" start >/dev/null; then
      cat "$cartella/server.log" >&2
      exit 1
    fi
    echo "postgresql://vendral@${cartella//\//%2F}:$porta"
    ;;
  ferma)
    ferma
    ;;
  *)
    echo "uso: $0 avvia|ferma CARTELLA [PORTA]" >&2
    exit 2
    ;;
esac
