// Writes the .xls fixtures of the Excel reader tests. The files are committed, so this runs
// only when they change:  npm install xlsx && node genera.js  (in this folder).
const XLSX = require("xlsx");
const CFB = require("cfb");
const fs = require("fs");

// A workbook as BIFF8 inside a compound file; the workbook stream is padded past its last
// EOF record.
function scrivi(nome, wb, ritocca) {
  const dati = XLSX.write(wb, { bookType: "biff8", type: "buffer" });
  const cfb = CFB.read(dati, { type: "buffer" });
  if (ritocca) ritocca(cfb);
  // Every stream, also the writer's own placeholder, grows to 4 KB so that the file needs
  // no mini stream (as the workbooks of Excel itself).
  for (const voce of cfb.FileIndex) {
    if (voce.type !== 2 || voce.content.length >= 4096) continue;
    voce.content = Buffer.concat([Buffer.from(voce.content), Buffer.alloc(4096 - voce.content.length)]);
    voce.size = voce.content.length;
  }
  fs.writeFileSync(nome, CFB.write(cfb, { type: "buffer" }));
}

function foglio(righe) {
  return XLSX.utils.aoa_to_sheet(righe, { cellDates: true });
}

const wb = XLSX.utils.book_new();
XLSX.utils.book_append_sheet(wb, foglio([
  ["Codice", "Titolo", "Prezzo", "Arrivo", "Attivo", null, "Misto"],
  ["A1", "Caffè è buono", 12.5, new Date(Date.UTC(2008, 11, 31)), true, 1, 10],
  ["A2", null, 3, new Date(Date.UTC(2009, 0, 2)), false, 2, "dieci"],
  ["A3", "Tè", null, null, true, 3, 11],
]), "Listino");
XLSX.utils.book_append_sheet(wb, foglio([["x", "y"], [1, 2]]), "Dati 2008");

// The writer keeps no formulas: B2 of the last sheet becomes the formula =2 with its result.
function formulaInB2(cfb) {
  const voce = CFB.find(cfb, "Workbook");
  const flusso = Buffer.from(voce.content);
  let bof = 0;
  for (let pos = 0; pos + 4 <= flusso.length;) {
    const tipo = flusso.readUInt16LE(pos), lunghezza = flusso.readUInt16LE(pos + 2);
    if (tipo === 0x0809) bof++;
    if (bof === 3 && tipo === 0x0203 && flusso.readUInt16LE(pos + 4) === 1 &&
        flusso.readUInt16LE(pos + 6) === 1) {
      const formula = Buffer.alloc(4 + 25);
      formula.writeUInt16LE(0x0006, 0);
      formula.writeUInt16LE(25, 2);
      flusso.copy(formula, 4, pos + 4, pos + 4 + 14);  // row, column, format, result
      formula.writeUInt16LE(3, 24);                    // formula length
      formula.writeUInt8(0x1e, 26);                    // tInt 2
      formula.writeUInt16LE(2, 27);
      voce.content = Buffer.concat([flusso.subarray(0, pos), formula,
                                    flusso.subarray(pos + 4 + lunghezza)]);
      voce.size = voce.content.length;
      return;
    }
    pos += 4 + lunghezza;
  }
  throw new Error("B2 not found");
}
scrivi("listino.xls", wb, formulaInB2);

// The same workbook marked as encrypted: a FILEPASS record right after the first BOF.
scrivi("cifrato.xls", wb, (cfb) => {
  const voce = CFB.find(cfb, "Workbook");
  const flusso = Buffer.from(voce.content);
  const lunghezzaBof = flusso.readUInt16LE(2);
  const filepass = Buffer.alloc(4 + 54);
  filepass.writeUInt16LE(0x002f, 0);
  filepass.writeUInt16LE(54, 2);
  filepass.writeUInt16LE(1, 4);  // RC4
  filepass.writeUInt16LE(1, 6);
  filepass.writeUInt16LE(1, 8);
  voce.content = Buffer.concat([
    flusso.subarray(0, 4 + lunghezzaBof), filepass, flusso.subarray(4 + lunghezzaBof)]);
  voce.size = voce.content.length;
});

// A text cell holding the empty string.
const conVuoto = XLSX.utils.book_new();
XLSX.utils.book_append_sheet(conVuoto, foglio([["a", "b"], ["x", ""]]), "Foglio");
scrivi("testo_vuoto.xls", conVuoto);
