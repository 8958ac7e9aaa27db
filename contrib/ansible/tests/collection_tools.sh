#!/bin/sh
# The collection as Ansible's own tools judge it: ansible-lint with the
# production profile (offline, so that it never reaches the network) over
# the collection, the examples and these tests; ansible-galaxy collection
# build; ansible-doc of the module. HOME, the tools' caches and the built
# archive stay in a folder of this run's own, removed at the end. A
# missing tool skips the test (status 77), but fails it under CI=true.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
collection=$here/ansible_collections/vexla/setup
for tool in ansible-lint ansible-galaxy ansible-doc; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    if [ "${CI-}" = true ]; then
      echo "$tool is missing (scripts/deps.sh installs it)" >&2
      exit 1
    fi
    echo "$tool is missing: skipped"
    exit 77
  fi
done
tmp=$(mktemp -d "${TMPDIR:-/tmp}/vexla-collection.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
export HOME="$tmp/home" XDG_CACHE_HOME="$tmp/cache" ANSIBLE_LOCAL_TEMP="$tmp/ansible-local" \
  ANSIBLE_COLLECTIONS_PATH="$here" NO_COLOR=1 ANSIBLE_NOCOLOR=1
mkdir "$HOME"
cd "$here"

echo "== ansible-lint --offline --profile production"
ansible-lint --offline --profile production

echo "== ansible-galaxy collection build"
version=$(sed -n 's/^version: *//p' "$collection/galaxy.yml")
ansible-galaxy collection build --output-path "$tmp/built" "$collection"
tar -tzf "$tmp/built/vexla-setup-$version.tar.gz" >"$tmp/contents"
for part in plugins/modules/install.py plugins/module_utils/setup_run.py changelogs/changelog.yaml meta/runtime.yml; do
  grep -qx "$part" "$tmp/contents" || { echo "the built collection lacks $part" >&2; exit 1; }
done

echo "== ansible-doc vexla.setup.install"
ansible-doc vexla.setup.install >"$tmp/doc"
grep -q "history" "$tmp/doc" || { echo "ansible-doc shows no history result" >&2; exit 1; }
echo "the collection passes ansible-lint (production), builds and documents itself"
