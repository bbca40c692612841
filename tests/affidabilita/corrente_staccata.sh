#!/bin/bash
# A power cut after the success message, and at random moments of the import: the shop on an
# ext4 file system of its own (a loop device), whose blocks are copied as the device holds
# them (read with O_DIRECT, nothing synced first) right after "E' stato creato un backup del
# negozio", or after a random delay, the import held still (SIGSTOP) while they are read. The copy is then mounted, as the disk after the cut:
# after the message the shop must hold the whole import; at a random moment it must be the
# shop before or the shop after, sound, and every backup in it a whole copy of the shop
# before. The file system commits its journal only every ten minutes, so only what the import
# itself synced is on the device. Needs root and loop devices: SKIP otherwise.
#   corrente_staccata.sh IMPORTA_PROVA
importa="$1"
source "$(dirname "$0")/comune.sh"
[[ $(id -u) -eq 0 ]] || { echo "SKIP: un dispositivo loop richiede root"; exit 77; }
command -v losetup >/dev/null && command -v mkfs.ext4 >/dev/null ||
  { echo "SKIP: mancano losetup o mkfs.ext4"; exit 77; }
disco="$lavoro/disco"
copia="$lavoro/copia"
mkdir -p "$disco" "$copia"
truncate -s 128M "$lavoro/disco.img"
mkfs.ext4 -q -F "$lavoro/disco.img"
dispositivo="$(losetup -f --show "$lavoro/disco.img" 2>/dev/null)" ||
  { echo "SKIP: nessun dispositivo loop"; exit 77; }
dispositivo_copia=""
smonta() {
  umount "$copia" 2>/dev/null || true
  [[ -z $dispositivo_copia ]] || losetup -d "$dispositivo_copia" 2>/dev/null || true
  dispositivo_copia=""
}
trap 'smonta; umount "$disco" 2>/dev/null; losetup -d "$dispositivo"; rm -rf "$lavoro"' EXIT
mount -o commit=600 "$dispositivo" "$disco" 2>/dev/null || { echo "SKIP: ext4 non montabile"; exit 77; }

crea_catalogo "$lavoro/catalogo-prima" 2000 1
crea_catalogo "$lavoro/catalogo" 20000 2
crea_negozio "$lavoro/prima"
"$importa" "$lavoro/prima" "$lavoro/catalogo-prima" >/dev/null || fallisci "the first import failed"
rm -f "$lavoro"/prima/catalog.0*
hash_prima="$(contenuto "$lavoro/prima/catalog.mdb")"
cp -a "$lavoro/prima" "$lavoro/dopo"
"$importa" "$lavoro/dopo" "$lavoro/catalogo" >/dev/null || fallisci "the whole import failed"
hash_dopo="$(contenuto "$lavoro/dopo/catalog.mdb")"

# taglia: the device's blocks as it holds them now, mounted at $copia.
taglia() {
  dd if="$dispositivo" of="$lavoro/taglio.img" bs=4M iflag=direct status=none
}
monta_taglio() {
  dispositivo_copia="$(losetup -f --show "$lavoro/taglio.img")"
  mount "$dispositivo_copia" "$copia" || fallisci "the copy of the device cannot be mounted"
}

# prova RITARDO: one import into a fresh shop on the device; RITARDO "" cuts after the success
# message, else after that many seconds.
prova() {
  local ritardo="$1" dove
  rm -rf "$disco/n"
  cp -a "$lavoro/prima" "$disco/n"
  sync
  rm -f "$lavoro/taglio.img"
  if [[ -z $ritardo ]]; then
    dove="after the success message"
    "$importa" "$disco/n" "$lavoro/catalogo" | while IFS= read -r riga; do
      if [[ $riga == *"E' stato creato un backup del negozio"* ]]; then taglia; fi
    done
    [[ -f $lavoro/taglio.img ]] || fallisci "$dove: the import never said it succeeded"
  else
    dove="after $ritardo s"
    "$importa" "$disco/n" "$lavoro/catalogo" >/dev/null &
    local pid=$!
    sleep "$ritardo"
    # The copy takes a while: the import is held still meanwhile, so that the copy is the
    # device at one moment, as a cut leaves it, not blocks read before and after a sync.
    kill -STOP "$pid" 2>/dev/null || true
    for ((i = 0; i < 500; i++)); do
      [[ "$(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null)" == [TZ] ]] && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.01
    done
    taglia
    kill -CONT "$pid" 2>/dev/null || true
    wait $pid || true
  fi
  monta_taglio
  local file="$copia/n/catalog.mdb"
  [[ "$(integro "$file")" == ok ]] || fallisci "$dove: $(integro "$file")"
  local hash
  hash="$(contenuto "$file")"
  if [[ -z $ritardo ]]; then
    [[ $hash == "$hash_dopo" ]] || fallisci "$dove: the shop does not hold the whole import"
  else
    [[ $hash == "$hash_prima" || $hash == "$hash_dopo" ]] || fallisci "$dove: neither the shop before nor after"
  fi
  for b in "$copia"/n/catalog.[0-9][0-9][0-9]; do
    [[ -e $b ]] || continue
    cmp -s "$b" "$lavoro/prima/catalog.mdb" || fallisci "$dove: $(basename "$b") is not a whole copy"
  done
  smonta
}

for giro in 1 2 3; do prova ""; done
for giro in $(seq 1 6); do prova "0.$((RANDOM % 6))$((RANDOM % 10))"; done
echo ok
