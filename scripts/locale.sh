#!/usr/bin/env bash
# The build and the tests run with a UTF-8 locale; C.UTF-8 comes with every Debian system.
set -euo pipefail
if ! locale -a 2>/dev/null | grep -qi '^c\.utf-\?8$'; then
  echo "C.UTF-8 locale missing" >&2
  exit 1
fi
