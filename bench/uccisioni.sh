#!/bin/bash
# The kill test at full length: 50 SIGKILLs of a 50,000-item import and 50 of a re-import
# of pictures replaced by others (CTest runs 10 and 20).
#   bench/uccisioni.sh [BUILD] [SEED]      BUILD defaults to build/
set -euo pipefail
radice="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$radice/build}"
cmake --build "$build" --target importa_prova >/dev/null
exec "$radice/tests/affidabilita/uccisioni.sh" "$build/tests/importa_prova" 50 "${2:-$$}" 50
