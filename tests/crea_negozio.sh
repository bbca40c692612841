#!/bin/bash
# The shop-making tool: both schemas give a shop with its "work" folder, an existing shop is
# kept unless -f.
set -euo pipefail
strumento="$(cd "$(dirname "$0")/.." && pwd)/scripts/crea-negozio"
cartella="$(mktemp -d)"
trap 'rm -rf "$cartella"' EXIT
fallisci() { echo "FAIL: $*" >&2; exit 1; }

"$strumento" negozio-1listino-1lingua "$cartella/uno" >/dev/null
"$strumento" negozio-10listini-4lingue "$cartella/dieci" items.dat >/dev/null
[[ "$(sqlite3 "$cartella/uno/catalog.mdb" "SELECT lingua1 FROM lingue")" == Italiano ]] || fallisci "lingue"
sqlite3 "$cartella/dieci/items.dat" "SELECT a.prezzo9, a.titolo_l4, c.sconto9, c.titolo_l4 FROM articoli a, categorie c" >/dev/null \
  || fallisci "ten price lists, four languages"
if sqlite3 "$cartella/uno/catalog.mdb" "SELECT prezzo1 FROM articoli" 2>/dev/null; then
  fallisci "one price list only"
fi
[[ -d "$cartella/uno/work" && -d "$cartella/dieci/work" ]] || fallisci "work folder"

sqlite3 "$cartella/uno/catalog.mdb" "INSERT INTO categorie (id) VALUES ('tenuto')"
rmdir "$cartella/uno/work"
"$strumento" negozio-1listino-1lingua "$cartella/uno" >/dev/null
[[ "$(sqlite3 "$cartella/uno/catalog.mdb" "SELECT count(*) FROM categorie")" == 1 ]] || fallisci "shop kept"
[[ -d "$cartella/uno/work" ]] || fallisci "work folder of a kept shop"
"$strumento" -f negozio-1listino-1lingua "$cartella/uno" >/dev/null
[[ "$(sqlite3 "$cartella/uno/catalog.mdb" "SELECT count(*) FROM categorie")" == 0 ]] || fallisci "-f replaces"

if "$strumento" negozio-1listino-1lingua "$cartella/tre" negozio.db 2>/dev/null; then fallisci "file name"; fi
if "$strumento" nessuno "$cartella/tre" 2>/dev/null; then fallisci "missing schema"; fi
[[ ! -e "$cartella/tre" ]] || fallisci "nothing made on error"
echo ok
