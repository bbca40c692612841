#!/bin/bash
# A disk that fills up for real: the shop on a small tmpfs of every size, from one that
# holds little more than the shop to one the whole import fits in, for an import of changed
# rows and for a re-import whose pictures were replaced by others of other sizes. After each
# run the shop must pass SQLite's integrity check and be the shop before (a failed import) or
# the shop after (a success), "Il negozio non è stato modificato" is said only of a file
# byte for byte as it was, a backup left beside it is a whole copy of the shop before and is
# kept whenever the shop may have changed, and every picture a row names is whole and of the
# row's size. The backup question is answered yes, so imports run with and without a backup.
# Mounting a tmpfs needs root: SKIP otherwise.
#   disco_pieno_tmpfs.sh IMPORTA_PROVA
importa="$1"
source "$(dirname "$0")/comune.sh"
[[ $(id -u) -eq 0 ]] || { echo "SKIP: montare un tmpfs richiede root"; exit 77; }
disco="$lavoro/disco"
mkdir -p "$disco"
mount -t tmpfs -o size=64k tmpfs "$disco" 2>/dev/null || { echo "SKIP: tmpfs non montabile"; exit 77; }
umount "$disco"
trap 'umount "$disco" 2>/dev/null || true; rm -rf "$lavoro"' EXIT

# prova NOME PRIMA CATALOGO PASSO_KB: the sizes from PRIMA's own up, PASSO_KB apart, until
# the import succeeds.
prova() {
  local nome="$1" prima="$2" catalogo="$3" passo="$4"
  local hash_prima hash_dopo kb esito file detto riuscite=0 fallite=0 senza_backup=0
  hash_prima="$(contenuto "$prima/catalog.mdb")"
  rm -rf "$lavoro/n"
  cp -a "$prima" "$lavoro/n"
  "$importa" "$lavoro/n" "$catalogo" >/dev/null || fallisci "$nome: the whole import failed"
  hash_dopo="$(contenuto "$lavoro/n/catalog.mdb")"
  local massimo=$(($(du -sk "$lavoro/n" | cut -f1) * 2))
  for ((kb = $(du -sk "$prima" | cut -f1); kb <= massimo; kb += passo)); do
    mount -t tmpfs -o "size=${kb}k" tmpfs "$disco"
    if ! cp -a "$prima/." "$disco/" 2>/dev/null; then
      umount "$disco"
      continue
    fi
    esito=0
    "$importa" "$disco" "$catalogo" si >"$lavoro/uscita" 2>&1 || esito=$?
    # The folder as the import left it, hot journal included, checked off the full disk.
    rm -rf "$lavoro/esito"
    cp -a "$disco" "$lavoro/esito"
    umount "$disco"
    file="$lavoro/esito/catalog.mdb"
    local dove="$nome, ${kb} KB: exit $esito"
    detto=0
    grep -q "Il negozio non è stato modificato" "$lavoro/uscita" && detto=1
    if ((detto)); then
      cmp -s "$file" "$prima/catalog.mdb" || { cat "$lavoro/uscita"; fallisci "$dove: said unchanged, but the file changed"; }
      [[ ! -s $file-journal ]] || fallisci "$dove: said unchanged, with a journal beside the shop"
    fi
    [[ "$(integro "$file")" == ok ]] || fallisci "$dove: $(integro "$file")"
    case $esito in
      0) [[ "$(contenuto "$file")" == "$hash_dopo" ]] || fallisci "$dove: a success, but not the shop after"
         riuscite=$((riuscite + 1)) ;;
      1) [[ "$(contenuto "$file")" == "$hash_prima" ]] || { cat "$lavoro/uscita"; fallisci "$dove: failed, but the shop changed"; }
         fallite=$((fallite + 1)) ;;
      *) cat "$lavoro/uscita"; fallisci "$dove: unexpected exit" ;;
    esac
    grep -q "Non è possibile creare un backup" "$lavoro/uscita" && senza_backup=$((senza_backup + 1))
    local backup=("$lavoro"/esito/catalog.[0-9][0-9][0-9])
    [[ -e ${backup[0]} ]] || backup=()
    for b in "${backup[@]}"; do
      cmp -s "$b" "$prima/catalog.mdb" || fallisci "$dove: $(basename "$b") is not a whole copy"
    done
    if ((esito == 1 && !detto)); then
      grep -q "Il negozio potrebbe essere stato modificato" "$lavoro/uscita" ||
        { cat "$lavoro/uscita"; fallisci "$dove: failed without saying whether the shop changed"; }
      if grep -q "E' stato creato un backup\|E' stato conservato il backup" "$lavoro/uscita"; then
        ((${#backup[@]} == 1)) || fallisci "$dove: the backup of a shop that may have changed is gone"
      fi
    elif ((detto)); then
      ((${#backup[@]} == 0)) || fallisci "$dove: the backup of an unchanged shop was kept"
    fi
    foto_intere "$lavoro/esito" >"$lavoro/foto" ||
      { cat "$lavoro/foto"; fallisci "$dove: a row names a broken picture"; }
    ((esito == 0)) && break
  done
  ((riuscite == 1)) || fallisci "$nome: the import never fitted, up to ${massimo} KB"
  echo "$nome: $fallite failed imports ($senza_backup without a backup), then one that fitted in ${kb} KB"
}

# A shop of 500 items and a catalogue of 1,000 changed ones.
crea_catalogo "$lavoro/catalogo-prima" 500 1
crea_catalogo "$lavoro/catalogo" 1000 2
crea_negozio "$lavoro/prima"
"$importa" "$lavoro/prima" "$lavoro/catalogo-prima" >/dev/null || fallisci "the first import failed"
rm -f "$lavoro"/prima/catalog.0*
prova rows "$lavoro/prima" "$lavoro/catalogo" 4

# A shop whose rows name 200 pictures, re-imported once they are replaced by others.
crea_catalogo_foto "$lavoro/catalogo-foto" 200
crea_negozio "$lavoro/prima-foto"
"$importa" "$lavoro/prima-foto" "$lavoro/catalogo-foto" >/dev/null ||
  fallisci "the first import with pictures failed"
rm -f "$lavoro"/prima-foto/catalog.0*
"$importa" --foto "$lavoro/catalogo-foto/img" 200 2
prova pictures "$lavoro/prima-foto" "$lavoro/catalogo-foto" 16
echo ok
