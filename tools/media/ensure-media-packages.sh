#!/usr/bin/env bash
# Installs the Debian packages the media generators need, and only those that are missing.
set -euo pipefail
exec "$(dirname "$0")/../../scripts/ensure-packages.sh" media
