#!/bin/bash
# Kills a 50,000-item import with SIGKILL at random moments, before, during and after the
# commit. After each kill the shop must pass SQLite's integrity check and hold either what
# it held before the import or what a whole import gives, and a backup that was made must
# be a whole copy of the shop before the import.
#   uccisioni.sh IMPORTA_PROVA [KILLS] [SEED]        (10 kills by default)
importa="$1"
punti="${2:-10}"
RANDOM="${3:-$$}"
source "$(dirname "$0")/comune.sh"
echo "seed ${3:-$$}, $punti kills"
prepara

# A whole import, timed, gives the shop after and the span the kills fall in.
nuovo_negozio "$lavoro/n"
inizio=$(date +%s%N)
"$importa" "$lavoro/n" "$lavoro/catalogo" >/dev/null || fallisci "the whole import failed"
durata_ms=$((($(date +%s%N) - inizio) / 1000000))
hash_dopo="$(contenuto "$lavoro/n/catalog.mdb")"
[[ $hash_dopo != "$hash_prima" ]] || fallisci "the import changed nothing"
echo "whole import: ${durata_ms} ms"

prima=0 dopo=0 giornali=0
for ((k = 1; k <= punti; k++)); do
  # A sixth at the very start, where the backup is copied, two sixths anywhere, the rest
  # around the end, where the commit writes the file.
  case $((RANDOM % 6)) in
    0) ms=$((RANDOM % (durata_ms / 25 + 2))) ;;
    1 | 2) ms=$((RANDOM * durata_ms / 32768)) ;;
    *) ms=$((durata_ms * 70 / 100 + RANDOM * durata_ms * 50 / 100 / 32768)) ;;
  esac
  nuovo_negozio "$lavoro/n"
  "$importa" "$lavoro/n" "$lavoro/catalogo" >/dev/null 2>&1 &
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
  [[ "$(integro "$file")" == ok ]] || fallisci "kill at ${ms} ms: $(integro "$file")"
  h="$(contenuto "$file")"
  if [[ $h == "$hash_prima" ]]; then
    stato=before
    prima=$((prima + 1))
  elif [[ $h == "$hash_dopo" ]]; then
    stato=after
    dopo=$((dopo + 1))
  else
    fallisci "kill at ${ms} ms: the shop is neither the one before nor the one after"
  fi
  for backup in "$lavoro"/n/catalog.[0-9][0-9][0-9]; do
    [[ -e $backup ]] || continue
    # The kill may land inside the copy, which must then not be left as a backup.
    cmp -s "$backup" "$lavoro/prima/catalog.mdb" ||
      fallisci "kill at ${ms} ms: $(basename "$backup") is not a whole copy of the shop"
  done
  echo "kill $k at ${ms} ms: shop $stato$giornale"
done
echo "ok: $prima before, $dopo after, $giornali with a journal left by the kill"
