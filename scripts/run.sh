#!/usr/bin/env bash
# Sets up, builds, and runs the main job: the library's version and its configuration,
# with the registry kept under the build folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" plain
export ORVIADIC_REGISTRY_DIR=${ORVIADIC_REGISTRY_DIR:-$root/build/registry}
tool="$root/build/plain/tools/orviadic"
"$tool" version
"$tool" config set-type 0
"$tool" config show
