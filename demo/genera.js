// Writes the demo catalogue under demo/catalogo/: the same departments and items as a ";"
// CSV folder (reparti.csv, articoli.csv), an Excel workbook (listino.xls) and a SQLite file
// named listino.mdb, with a few pictures under img/ whose paths the items give relative to
// the folder. The output is committed; run this only to change it:
//   npm install xlsx cfb && node demo/genera.js      (needs the sqlite3 program too)
const fs = require("fs");
const path = require("path");
const { execFileSync } = require("child_process");
const XLSX = require("xlsx");
const CFB = require("cfb");

const cartella = path.join(__dirname, "catalogo");
fs.mkdirSync(path.join(cartella, "img"), { recursive: true });

const reparti = [
  // codice, titolo, descrizione, note, iva, sconto
  ["1", "Pane e forni", "Pane fresco e prodotti da forno", "", 4, 0],
  ["2", "Vini", "Vini italiani", "Vendita ai soli maggiorenni", 22, 5],
  ["3", "Formaggi", "Formaggi freschi e stagionati", "", 0.04, 0],
  ["4", "Olio e condimenti", "", "", 22, 0.1],
  ["", "Offerte della settimana", "Reparto senza codice", "", 22, 0],
];

const articoli = [
  // reparto, codice, titolo, sottotitolo, descrizione, note, prezzo, offerta, link, peso,
  // giacenza, immagine 1, immagine piccola
  ["1", "P001", "Pane casereccio", "1 kg", "Pane a lievitazione naturale", "", 3.2, 0, "", 1, 40, "img/pane.bmp", "img/pane piccola.bmp"],
  ["1", "P002", "Grissini torinesi", "250 g", "", "", 2.45, 1.99, "", 0.25, 120, "", ""],
  ["1", "P003", "Focaccia genovese", "", "All'olio extravergine", "", 4.5, 0, "", 0.5, 3, "img/focaccia.bmp", ""],
  ["2", "V001", "Barolo DOCG 2019", "75 cl", "Rosso piemontese", "", 38.9, 34.5, "https://example.com/barolo", 1.3, 12, "img\\vino.bmp", ""],
  ["2", "V002", "Prosecco DOC", "75 cl", "", "", 9.99, 0, "", 1.3, 60, "", ""],
  ["2", "V003", "Vermentino di Sardegna", "75 cl", "", "", 11.5, 0, "", 1.3, 0, "", ""],
  ["3", "F001", "Parmigiano Reggiano 24 mesi", "500 g", "", "", 12.8, 0, "", 0.5, 25, "img/formaggio.bmp", ""],
  ["3", "F002", "Gorgonzola dolce", "250 g", "", "", 4.1, 3.6, "", 0.25, 8, "", ""],
  ["3", "F003", "Pecorino romano", "300 g", "", "", 6.75, 0, "", 0.3, 2, "", ""],
  ["4", "O001", "Olio d'oliva extravergine", "1 l", "Spremitura a freddo", "", 10.5, 0, "", 0.92, 30, "", ""],
  ["4", "O002", "Aceto balsamico di Modena", "250 ml", "", "", 7.9, 0, "", 0.3, 15, "", ""],
  ["Olio e condimenti", "O003", "Sale marino integrale", "1 kg", "Reparto indicato per titolo", "", 1.2, 0, "", 1, 80, "", ""],
  ["Offerte della settimana", "S001", "Cesto regalo", "", "", "", 49, 39, "", 5, 4, "", ""],
  ["", "X001", "Articolo senza reparto", "", "Finisce in * Articoli importati", "", 1, 0, "", 0, 1, "", ""],
  ["9", "X002", "Reparto sconosciuto", "", "Codice reparto che il negozio non ha", "", 2, 0, "", 0, 1, "", ""],
];

const intestazioneRep = ["Codice", "Titolo", "Descrizione", "Note", "IVA", "Sconto"];
const intestazioneArt = ["Reparto", "Codice", "Titolo", "Sottotitolo", "Descrizione", "Note",
  "Prezzo", "Offerta", "Link", "Peso", "Giacenza", "Immagine", "ImmaginePiccola"];

// --- CSV, ";" delimited, Italian decimal comma, UTF-8 ---
function campoCsv(v) {
  if (typeof v === "number") return String(v).replace(".", ",");
  const s = String(v);
  return /[;"\n]/.test(s) ? '"' + s.replace(/"/g, '""') + '"' : s;
}
function scriviCsv(nome, intestazione, righe) {
  const testo = [intestazione, ...righe].map((r) => r.map(campoCsv).join(";")).join("\r\n") + "\r\n";
  fs.writeFileSync(path.join(cartella, nome), testo);
}
scriviCsv("reparti.csv", intestazioneRep, reparti);
scriviCsv("articoli.csv", intestazioneArt, articoli);

// --- Excel: two sheets, first row with the field names; an empty value is an empty cell;
// streams padded to 4 KB so the file needs no mini stream ---
const celle = (righe) => righe.map((r) => r.map((v) => (v === "" ? null : v)));
const wb = XLSX.utils.book_new();
XLSX.utils.book_append_sheet(wb, XLSX.utils.aoa_to_sheet(celle([intestazioneRep, ...reparti])), "Reparti");
XLSX.utils.book_append_sheet(wb, XLSX.utils.aoa_to_sheet(celle([intestazioneArt, ...articoli])), "Articoli");
const cfb = CFB.read(XLSX.write(wb, { bookType: "biff8", type: "buffer" }), { type: "buffer" });
for (const voce of cfb.FileIndex) {
  if (voce.type !== 2 || voce.content.length >= 4096) continue;
  voce.content = Buffer.concat([Buffer.from(voce.content), Buffer.alloc(4096 - voce.content.length)]);
  voce.size = voce.content.length;
}
fs.writeFileSync(path.join(cartella, "listino.xls"), CFB.write(cfb, { type: "buffer" }));

// --- The Access-kind file: a SQLite database with typed columns ---
function sql(v) {
  if (typeof v === "number") return String(v);
  return "'" + String(v).replace(/'/g, "''") + "'";
}
const mdb = path.join(cartella, "listino.mdb");
fs.rmSync(mdb, { force: true });
let script = `CREATE TABLE "reparti" ("Codice" TEXT(20), "Titolo" TEXT(99), "Descrizione" MEMO,
  "Note" MEMO, "IVA" SINGLE, "Sconto" SINGLE);
CREATE TABLE "articoli" ("Reparto" TEXT(99), "Codice" TEXT(50), "Titolo" TEXT(199),
  "Sottotitolo" TEXT(199), "Descrizione" MEMO, "Note" MEMO, "Prezzo" CURRENCY, "Offerta" CURRENCY,
  "Link" TEXT(255), "Peso" SINGLE, "Giacenza" INTEGER, "Immagine" TEXT(255),
  "ImmaginePiccola" TEXT(255));
`;
for (const r of reparti) script += `INSERT INTO "reparti" VALUES (${r.map(sql).join(", ")});\n`;
for (const r of articoli) {
  // CURRENCY columns hold ten-thousandths
  const v = r.map((x, i) => (i === 6 || i === 7 ? Math.round(x * 10000) : x));
  script += `INSERT INTO "articoli" VALUES (${v.map(sql).join(", ")});\n`;
}
execFileSync("sqlite3", ["-bail", mdb], { input: script });

// --- Pictures: 24-bit BMP files with a simple pattern ---
function bmp(larghezza, altezza, colore) {
  const riga = Math.ceil((larghezza * 3) / 4) * 4;
  const dati = Buffer.alloc(54 + riga * altezza);
  dati.write("BM", 0);
  dati.writeUInt32LE(dati.length, 2);
  dati.writeUInt32LE(54, 10);
  dati.writeUInt32LE(40, 14);
  dati.writeInt32LE(larghezza, 18);
  dati.writeInt32LE(altezza, 22);
  dati.writeUInt16LE(1, 26);
  dati.writeUInt16LE(24, 28);
  dati.writeUInt32LE(riga * altezza, 34);
  for (let y = 0; y < altezza; y++) {
    for (let x = 0; x < larghezza; x++) {
      const chiaro = ((x >> 3) + (y >> 3)) % 2 === 0 ? 1 : 0.7;
      const o = 54 + y * riga + x * 3;
      dati[o] = Math.round(colore[2] * chiaro);
      dati[o + 1] = Math.round(colore[1] * chiaro);
      dati[o + 2] = Math.round(colore[0] * chiaro);
    }
  }
  return dati;
}
const immagini = [
  ["pane.bmp", 120, 90, [200, 150, 80]],
  ["pane piccola.bmp", 40, 30, [200, 150, 80]],
  ["focaccia.bmp", 100, 100, [230, 200, 110]],
  ["vino.bmp", 60, 160, [120, 20, 40]],
  ["formaggio.bmp", 128, 96, [240, 220, 140]],
];
for (const [nome, l, a, c] of immagini) fs.writeFileSync(path.join(cartella, "img", nome), bmp(l, a, c));
console.log("scritto " + cartella);
