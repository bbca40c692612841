#!/bin/bash
# Imports into a shop whose files may not grow past a limit (RLIMIT_FSIZE, as a full disk
# would stop them): the import fails with the engine's message, the shop is left as it
# was, "Il negozio non è stato modificato" is said only when that is so, and the backup is
# kept when the shop could not be rolled back. disco_pieno_tmpfs.sh fills a real disk.
#   disco_pieno.sh IMPORTA_PROVA
importa="$1"
source "$(dirname "$0")/comune.sh"
ARTICOLI=50000 prepara
dimensione_kb=$(( $(stat -c %s "$lavoro/prima/catalog.mdb") / 1024 ))

# prova NOME LIMITE_KB RISPOSTA ESITO: one limited run and the checks that always hold.
prova() {
  local nome="$1" limite="$2" risposta="$3" atteso="$4"
  nuovo_negozio "$lavoro/n"
  local esito=0
  (ulimit -f "$limite" && exec "$importa" "$lavoro/n" "$lavoro/catalogo" "$risposta") \
    >"$lavoro/uscita" 2>&1 || esito=$?
  local file="$lavoro/n/catalog.mdb"
  [[ $esito == "$atteso" ]] || { cat "$lavoro/uscita"; fallisci "$nome: exit $esito, not $atteso"; }
  [[ "$(integro "$file")" == ok ]] || fallisci "$nome: $(integro "$file")"
  local invariato=0
  [[ "$(contenuto "$file")" == "$hash_prima" ]] && invariato=1
  local backup=("$lavoro"/n/catalog.[0-9][0-9][0-9])
  [[ -e ${backup[0]} ]] || backup=()
  if grep -q "Il negozio non è stato modificato" "$lavoro/uscita"; then
    ((invariato)) || fallisci "$nome: said unchanged, but the shop changed"
    ((${#backup[@]} == 0)) || fallisci "$nome: the backup of a rolled-back import was kept"
  elif ((!invariato)); then
    ((${#backup[@]} > 0)) || fallisci "$nome: the shop changed and no backup was kept"
  fi
  for b in "${backup[@]}"; do
    cmp -s "$b" "$lavoro/prima/catalog.mdb" || fallisci "$nome: $(basename "$b") is not whole"
  done
  echo "$nome: exit $esito, shop unchanged=$invariato, backups ${#backup[@]}"
}

# The backup fits, the import does not: failure told with the engine's text, rollback.
prova "shop grows past the limit" $((dimensione_kb + 64)) no 1
# The message names what went wrong with the file, not a later consequence of it.
grep -Eq "^MESSAGGIO esclamazione: Errore [0-9]+:\|.*(disk I/O error|disk is full)" "$lavoro/uscita" ||
  { cat "$lavoro/uscita"; fallisci "no message of the engine's error"; }
# Not even the backup fits: the question, then nothing imported, or a failed import.
prova "backup does not fit, answer no" $((dimensione_kb / 2)) no 2
grep -q "Non è possibile creare un backup del negozio" "$lavoro/uscita" || fallisci "no question"
prova "backup does not fit, answer yes" $((dimensione_kb / 2)) si 1
echo ok
