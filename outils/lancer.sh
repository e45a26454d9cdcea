#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
source "$(dirname "${BASH_SOURCE[0]}")/commun.sh"
installer_paquets
construire --target kirvane
exec "$CONSTRUCTION/bin/kirvane" "$@"
