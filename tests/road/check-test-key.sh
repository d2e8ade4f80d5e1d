#!/bin/sh
# Checks which updaters carry the tests' release key: none of the ones given before "--" (the shipped ones),
# every one after it (the tests' signed ones).
#   check-test-key.sh KEY_SOURCE SHIPPED_UPDATER... -- SIGNED_UPDATER...
set -eu
key=$(sed -n 's/.*FromKeyText("\([0-9a-f]*\)").*/\1/p' "$1")
shift
if [ ${#key} -ne 64 ]; then
  echo "no public key in the tests' key source" >&2
  exit 1
fi
signed=no
status=0
for file in "$@"; do
  if [ "$file" = -- ]; then
    signed=yes
    continue
  fi
  if grep -q "$key" "$file"; then carries=yes; else carries=no; fi
  if [ $carries != $signed ]; then
    [ $signed = yes ] && echo "$file lacks the tests' release key" >&2 || echo "$file carries the tests' release key" >&2
    status=1
  fi
done
exit $status
