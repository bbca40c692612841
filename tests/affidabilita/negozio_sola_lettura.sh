#!/bin/bash
# A shop whose data file, or whose folder, cannot be written: the import says so clearly
# before anything is written, does not report a success, and the shop stays as it was.
# Run as root, the import runs as "nobody", since root writes read-only files anyway.
#   negozio_sola_lettura.sh IMPORTA_PROVA
importa="$1"
source "$(dirname "$0")/comune.sh"
come=()
if [[ $(id -u) -eq 0 ]]; then
  command -v setpriv >/dev/null || { echo "SKIP: root without setpriv"; exit 77; }
  come=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  "${come[@]}" test -x "$importa" || { echo "SKIP: nobody cannot run $importa"; exit 77; }
fi
ARTICOLI=2000 prepara
chmod 755 "$lavoro"
chmod -R a+rX "$lavoro/catalogo"

# prova NOME: runs the import (answering yes to the backup question) on $lavoro/n as it
# has been set up, then checks the shop and the messages.
prova() {
  local esito=0
  "${come[@]}" "$importa" "$lavoro/n" "$lavoro/catalogo" si >"$lavoro/uscita" 2>&1 || esito=$?
  chmod -R u+w "$lavoro/n"
  ((esito != 0)) || { cat "$lavoro/uscita"; fallisci "$1: the import reports a success"; }
  grep -q "sola lettura" "$lavoro/uscita" ||
    { cat "$lavoro/uscita"; fallisci "$1: no message that the shop is read-only"; }
  grep -q "E' stato creato un backup" "$lavoro/uscita" && fallisci "$1: a success was told"
  [[ "$(contenuto "$lavoro/n/catalog.mdb")" == "$hash_prima" ]] || fallisci "$1: the shop changed"
  [[ "$(ls "$lavoro/n")" == "$(printf 'catalog.mdb\nwork')" ]] || fallisci "$1: files were written"
  echo "$1: exit $esito, $(grep -m1 'sola lettura' "$lavoro/uscita")"
}

nuovo_negozio "$lavoro/n"
chmod 777 "$lavoro/n"
chmod 444 "$lavoro/n/catalog.mdb"
prova "read-only file"

nuovo_negozio "$lavoro/n"
chmod 666 "$lavoro/n/catalog.mdb"
chmod 555 "$lavoro/n"
prova "read-only folder"
echo ok
