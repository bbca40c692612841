# Shared by the fault scripts: a shop, catalogues, the shop's content as one hash.
# Sourced; needs $importa (the headless import) and sets $lavoro (a temporary folder).
set -euo pipefail
radice="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
command -v sqlite3 >/dev/null || { echo "SKIP: manca il programma sqlite3"; exit 77; }
lavoro="$(mktemp -d)"
trap 'chmod -R u+rwX "$lavoro" 2>/dev/null; rm -rf "$lavoro"' EXIT

fallisci() { echo "FAIL: $*" >&2; exit 1; }

# crea_negozio CARTELLA: an empty shop with its work folder.
crea_negozio() {
  "$radice/scripts/crea-negozio" negozio-1listino-1lingua "$1" >/dev/null
  mkdir -p "$1/work"
}

# crea_catalogo CARTELLA ARTICOLI VARIANTE [PREFISSO]: 200 departments and the items ART0..
# with prices and texts that depend on VARIANTE, so two catalogues give two shops; PREFISSO
# goes before every code, so two catalogues of other prefixes share no department or item.
crea_catalogo() {
  mkdir -p "$1"
  awk -v v="$3" -v p="${4:-}" 'BEGIN {
    print "Codice,Titolo,Descrizione,Note,IVA,Sconto"
    for (k = 0; k < 200; k++) printf "%sR%d,Reparto %s%d v%d,Descrizione del reparto %d,,22,0\n", p, k, p, k, v, k
  }' >"$1/reparti.csv"
  awk -v n="$2" -v v="$3" -v p="${4:-}" 'BEGIN {
    print "Reparto,Codice,Titolo,Sottotitolo,Descrizione,Note,Prezzo,Offerta,Link,Peso,Giacenza,Immagine1,Immagine2,ImmaginePiccola"
    for (i = 0; i < n; i++)
      printf "%sR%d,%sART%d,Articolo %d v%d,conf. da %d,Descrizione dell'\''articolo %d,,%d.%02d,0,,0.%d,%d,,,\n",
        p, i % 200, p, i, i, v, 1 + i % 6, i, 1 + (i + v) % 97, i % 100, i % 10, (i * v) % 50
  }' >"$1/articoli.csv"
}

# crea_catalogo_foto CARTELLA ARTICOLI: the catalogue of crea_catalogo, each item naming
# its picture img\f<i>.bmp (as a catalogue written on Windows does), and the pictures of
# variant 1; "$importa" --foto CARTELLA/img ARTICOLI 2 replaces them by others of other sizes.
crea_catalogo_foto() {
  crea_catalogo "$1" "$2" 1
  awk -F, -v OFS=, 'NR > 1 { $12 = "img\\f" (NR - 2) ".bmp" } { print }' "$1/articoli.csv" \
    >"$1/articoli.tmp"
  mv "$1/articoli.tmp" "$1/articoli.csv"
  mkdir -p "$1/img"
  "$importa" --foto "$1/img" "$2" 1
}

# foto_intere CARTELLA: every picture a row of the shop names is whole and of the row's size.
foto_intere() { "$importa" --verifica "$1" | tail -5; }

# contenuto FILE: a hash of every row of both tables the import writes.
contenuto() {
  sqlite3 -bail "$1" "SELECT * FROM categorie ORDER BY contatore; SELECT * FROM articoli ORDER BY rowid;" |
    md5sum | cut -d' ' -f1
}

# integro FILE: "ok" from SQLite's own check (which also rolls back a hot journal).
integro() { sqlite3 "$1" "PRAGMA integrity_check" 2>&1 | head -1; }

# prepara: $lavoro/prima (a shop holding 20,000 items of another catalogue) and
# $lavoro/catalogo (50,000 items: 20,000 updates and 30,000 new items).
prepara() {
  crea_catalogo "$lavoro/catalogo-prima" 20000 1
  crea_catalogo "$lavoro/catalogo" "${ARTICOLI:-50000}" 2
  crea_negozio "$lavoro/prima"
  "$importa" "$lavoro/prima" "$lavoro/catalogo-prima" >/dev/null || fallisci "the first import failed"
  rm -f "$lavoro"/prima/catalog.0*
  hash_prima="$(contenuto "$lavoro/prima/catalog.mdb")"
}

# nuovo_negozio CARTELLA: a fresh copy of the shop before the import.
nuovo_negozio() {
  rm -rf "$1"
  cp -a "$lavoro/prima" "$1"
}
