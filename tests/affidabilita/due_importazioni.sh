#!/bin/bash
# Two imports of two catalogues that share no code, into one shop at the same time, as two
# copies of the program started one after the other. The shop's write lock lets one import
# at a time write: the other waits for it or, when the wait runs out, fails before writing.
# After every round the shop must pass SQLite's integrity check, and for each import: a
# success holds every department and item of its catalogue; a failure holds none, says "Il
# negozio non è stato modificato" and never the success message. The first rounds wait as
# the program does, the later ones hardly at all, so that both outcomes are met.
#   due_importazioni.sh IMPORTA_PROVA
importa="$1"
source "$(dirname "$0")/comune.sh"

articoli=20000
crea_catalogo "$lavoro/catalogo-a" "$articoli" 1 A
crea_catalogo "$lavoro/catalogo-b" "$articoli" 2 B

# conta FILE PREFISSO: "departments items" of the catalogue PREFISSO in the shop.
conta() {
  sqlite3 -bail "$1" "SELECT (SELECT count(*) FROM categorie WHERE id LIKE 'imp0$2R%') || ' ' ||
    (SELECT count(*) FROM articoli WHERE codice LIKE '$2ART%')"
}

riuscite=0
fallite=0
for giro in $(seq 1 10); do
  attesa=5000
  ((giro > 5)) && attesa=1
  rm -rf "$lavoro/n"
  crea_negozio "$lavoro/n"
  TARKPO_ATTESA_MS=$attesa "$importa" "$lavoro/n" "$lavoro/catalogo-a" si >"$lavoro/a" 2>&1 &
  pid_a=$!
  TARKPO_ATTESA_MS=$attesa "$importa" "$lavoro/n" "$lavoro/catalogo-b" si >"$lavoro/b" 2>&1 &
  pid_b=$!
  esito_a=0
  esito_b=0
  wait $pid_a || esito_a=$?
  wait $pid_b || esito_b=$?
  [[ "$(integro "$lavoro/n/catalog.mdb")" == ok ]] || fallisci "round $giro: $(integro "$lavoro/n/catalog.mdb")"
  for p in a b; do
    prefisso="${p^^}"
    esito=$([[ $p == a ]] && echo $esito_a || echo $esito_b)
    trovati="$(conta "$lavoro/n/catalog.mdb" "$prefisso")"
    dove="round $giro (wait $attesa ms), import $prefisso: exit $esito, $trovati in the shop"
    case $esito in
      0) [[ $trovati == "200 $articoli" ]] || { cat "$lavoro/$p"; fallisci "$dove: a success without every row"; }
         riuscite=$((riuscite + 1)) ;;
      1) [[ $trovati == "0 0" ]] || { cat "$lavoro/$p"; fallisci "$dove: a failure that left rows"; }
         grep -q "Il negozio non è stato modificato" "$lavoro/$p" ||
           { cat "$lavoro/$p"; fallisci "$dove: a failure that does not say the shop is unchanged"; }
         ! grep -q "E' stato creato un backup" "$lavoro/$p" || fallisci "$dove: a failure that told of a backup"
         fallite=$((fallite + 1)) ;;
      *) cat "$lavoro/$p"; fallisci "$dove: unexpected exit" ;;
    esac
  done
done
((riuscite >= 10)) || fallisci "only $riuscite imports succeeded"
echo "$riuscite imports succeeded, $fallite failed whole"
echo ok
