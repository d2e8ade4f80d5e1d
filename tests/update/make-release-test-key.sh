#!/bin/sh
# Makes the throwaway release key pair of the tests with the publish tool's keygen:
#   make-release-test-key.sh NIGHTCAP_PUBLISH OUT_DIR [EARLIER_KEY_SOURCE]
# OUT_DIR/release.key is the private key (owner only), for the tests that sign releases with it;
# OUT_DIR/ReleaseTrustTestKey.cpp builds its public key into the updaters of those tests. Given the source
# an earlier run made for another key, OUT_DIR/ReleaseTrustBothKeys.cpp builds in that key and this one (an
# updater during a key rotation). keygen refuses a
# path inside a git work tree, as the build tree is, so the pair is made in a temporary folder and the
# private key moved into the build tree: it protects nothing and never leaves the build.
set -eu
publish=${1:?usage: make-release-test-key.sh NIGHTCAP_PUBLISH OUT_DIR}
out=${2:?usage: make-release-test-key.sh NIGHTCAP_PUBLISH OUT_DIR}

mkdir -p "$out"
rm -f "$out/release.key" "$out/ReleaseTrustTestKey.cpp" "$out/ReleaseTrustBothKeys.cpp"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
public=$("$publish" keygen "$work/release.key")
mv "$work/release.key" "$out/release.key"
chmod 600 "$out/release.key"
cat > "$out/ReleaseTrustTestKey.cpp" <<SOURCE
// Made by make-release-test-key.sh: the public half of the tests' throwaway release key.
#include "update/manifest/ReleaseTrust.h"

namespace update {
ReleaseTrust ReleaseTrust::Built() { return FromKeyText("$public"); }
}  // namespace update
SOURCE
if [ -n "${3:-}" ]; then
  earlier=$(sed -n 's/.*FromKeyText("\([0-9a-f]*\)").*/\1/p' "$3")
  [ -n "$earlier" ] || { echo "make-release-test-key.sh: no key in $3" >&2; exit 1; }
  cat > "$out/ReleaseTrustBothKeys.cpp" <<SOURCE
// Made by make-release-test-key.sh: the public halves of two of the tests' throwaway release keys.
#include "update/manifest/ReleaseTrust.h"

namespace update {
ReleaseTrust ReleaseTrust::Built() { return FromKeyText("$earlier;$public"); }
}  // namespace update
SOURCE
fi
