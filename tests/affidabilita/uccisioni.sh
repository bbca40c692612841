#!/bin/bash
# Kills imports with SIGKILL at random moments, before, during and after the commit: a
# 50,000-item import, then a re-import of 1,000 items whose pictures have been replaced by
# others of other sizes. After each kill the shop must pass SQLite's integrity check and
# hold either what it held before the import or what a whole import gives, every picture a
# row names must be whole and of the size the row records, and a backup that was made must
# be a whole copy of the shop before the import.
#   uccisioni.sh IMPORTA_PROVA [KILLS] [SEED] [PICTURE_KILLS]   (10 and 20 by default)
importa="$1"
punti="${2:-10}"
RANDOM="${3:-$$}"
punti_foto="${4:-20}"
source "$(dirname "$0")/comune.sh"
echo "seed ${3:-$$}, $punti kills, $punti_foto during pictures"

# uccidi NOME PRIMA CATALOGO KILLS: times a whole import of CATALOGO into a copy of the
# shop PRIMA, then kills as many imports of it and checks each shop they leave.
uccidi() {
  local nome="$1" prima="$2" catalogo="$3" kills="$4"
  local hash_prima hash_dopo durata_ms inizio ms file h stato giornale figlio
  hash_prima="$(contenuto "$prima/catalog.mdb")"
  rm -rf "$lavoro/n"
  cp -a "$prima" "$lavoro/n"
  inizio=$(date +%s%N)
  "$importa" "$lavoro/n" "$catalogo" >/dev/null || fallisci "$nome: the whole import failed"
  durata_ms=$((($(date +%s%N) - inizio) / 1000000))
  hash_dopo="$(contenuto "$lavoro/n/catalog.mdb")"
  [[ $hash_dopo != "$hash_prima" ]] || fallisci "$nome: the import changed nothing"
  foto_intere "$lavoro/n" >/dev/null || fallisci "$nome: the whole import named broken pictures"
  echo "$nome: whole import ${durata_ms} ms"

  local prima_n=0 dopo_n=0 giornali=0
  for ((k = 1; k <= kills; k++)); do
    # A sixth at the very start, where the backup is copied, two sixths anywhere, the rest
    # around the end, where the commit writes the file.
    case $((RANDOM % 6)) in
      0) ms=$((RANDOM % (durata_ms / 25 + 2))) ;;
      1 | 2) ms=$((RANDOM * durata_ms / 32768)) ;;
      *) ms=$((durata_ms * 70 / 100 + RANDOM * durata_ms * 50 / 100 / 32768)) ;;
    esac
    rm -rf "$lavoro/n"
    cp -a "$prima" "$lavoro/n"
    "$importa" "$lavoro/n" "$catalogo" >/dev/null 2>&1 &
    figlio=$!
    sleep "$(printf '%d.%03d' $((ms / 1000)) $((ms % 1000)))"
    kill -KILL "$figlio" 2>/dev/null || true
    wait "$figlio" 2>/dev/null || true

    file="$lavoro/n/catalog.mdb"
    giornale=""
    if [[ -e $file-journal ]]; then
      giornale=", journal rolled back"
      giornali=$((giornali + 1))
    fi
    [[ "$(integro "$file")" == ok ]] || fallisci "$nome: kill at ${ms} ms: $(integro "$file")"
    h="$(contenuto "$file")"
    if [[ $h == "$hash_prima" ]]; then
      stato=before
      prima_n=$((prima_n + 1))
    elif [[ $h == "$hash_dopo" ]]; then
      stato=after
      dopo_n=$((dopo_n + 1))
    else
      fallisci "$nome: kill at ${ms} ms: the shop is neither the one before nor the one after"
    fi
    foto_intere "$lavoro/n" >"$lavoro/foto" ||
      { cat "$lavoro/foto"; fallisci "$nome: kill at ${ms} ms: a row names a broken picture"; }
    for backup in "$lavoro"/n/catalog.[0-9][0-9][0-9]; do
      [[ -e $backup ]] || continue
      # The kill may land inside the copy, which must then not be left as a backup.
      cmp -s "$backup" "$prima/catalog.mdb" ||
        fallisci "$nome: kill at ${ms} ms: $(basename "$backup") is not a whole copy of the shop"
    done
    echo "$nome: kill $k at ${ms} ms: shop $stato$giornale"
  done
  echo "$nome: $prima_n before, $dopo_n after, $giornali with a journal left by the kill"

  # The import run again on the last shop a kill left gives the shop after, and clears
  # what the killed copy left in the work folder.
  rm -f "$lavoro"/n/catalog.[0-9][0-9][0-9]
  "$importa" "$lavoro/n" "$catalogo" >/dev/null || fallisci "$nome: the import after the kills failed"
  [[ "$(contenuto "$lavoro/n/catalog.mdb")" == "$hash_dopo" ]] ||
    fallisci "$nome: the import after the kills gave another shop"
  if ls -a "$lavoro/n/work" | grep -q '^\.tarkpo-'; then
    fallisci "$nome: temporary copies left in work/"
  fi
}

prepara
uccidi rows "$lavoro/prima" "$lavoro/catalogo" "$punti"

# A shop whose rows name the copies of 1,000 pictures; then the pictures at the same paths
# are replaced by others of other sizes, and the import that copies them is killed.
crea_catalogo_foto "$lavoro/catalogo-foto" 1000
crea_negozio "$lavoro/prima-foto"
"$importa" "$lavoro/prima-foto" "$lavoro/catalogo-foto" >/dev/null ||
  fallisci "the first import with pictures failed"
rm -f "$lavoro"/prima-foto/catalog.0*
foto_intere "$lavoro/prima-foto"
"$importa" --foto "$lavoro/catalogo-foto/img" 1000 2
uccidi pictures "$lavoro/prima-foto" "$lavoro/catalogo-foto" "$punti_foto"
echo ok
