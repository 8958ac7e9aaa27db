#!/bin/sh
# Renders each manual page given and fails when the formatter has anything
# to say about one (an unknown macro, a bad escape, a line it cannot fill).
#   render_test.sh PAGE...
status=0
for page in "$@"; do
  if command -v man >/dev/null 2>&1; then
    said=$(MANWIDTH=80 man --warnings -l -Tutf8 "$page" 2>&1 >/dev/null)
  elif command -v groff >/dev/null 2>&1; then
    said=$(groff -ww -man -Tutf8 -z "$page" 2>&1)
  else
    echo "neither man nor groff is installed (scripts/deps.sh installs them)" >&2
    exit 1
  fi
  if [ -n "$said" ]; then
    echo "$page:" >&2
    echo "$said" >&2
    status=1
  fi
done
exit $status
