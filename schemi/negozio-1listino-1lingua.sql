-- The shop's tables: one price list and one language.
-- Declared types are those of the engine layer (TEXT(n), MEMO, SMALLINT, INTEGER, SINGLE,
-- CURRENCY, BIT, COUNTER); sizes match the cuts the import makes before writing.

CREATE TABLE "categorie" (
  "contatore" COUNTER,
  "id" TEXT(99),
  "pagina" TEXT(99),
  "genitore" TEXT(99),
  "livello" SMALLINT DEFAULT 0,
  "template" TEXT(50),
  "ordinamento" INTEGER DEFAULT 0,
  "titolo" TEXT(99),
  "descrizione" MEMO,
  "note" MEMO,
  "iva" SINGLE DEFAULT 0,
  "sconto" SINGLE DEFAULT 0
);
CREATE UNIQUE INDEX "categorie_id" ON "categorie" ("id");

CREATE TABLE "articoli" (
  "catID" TEXT(99),
  "codice" TEXT(50),
  "titolo" TEXT(199),
  "sottotitolo" TEXT(199),
  "descrizione" MEMO,
  "note" MEMO,
  "giacenza" TEXT(255),
  "prezzo" CURRENCY DEFAULT 0,
  "offertaprezzo" CURRENCY DEFAULT 0,
  "offerta" BIT DEFAULT 0,
  "link" TEXT(255),
  "peso" SINGLE DEFAULT 0,
  "ordinamento" INTEGER DEFAULT 0,
  "fuoricatalogo" BIT DEFAULT 0,
  "immagine0" TEXT(255),
  "imgX0" INTEGER DEFAULT 0,
  "imgY0" INTEGER DEFAULT 0,
  "immagine1" TEXT(255),
  "imgX1" INTEGER DEFAULT 0,
  "imgY1" INTEGER DEFAULT 0,
  "immagine2" TEXT(255),
  "imgX2" INTEGER DEFAULT 0,
  "imgY2" INTEGER DEFAULT 0
);
CREATE INDEX "articoli_codice" ON "articoli" ("codice");

CREATE TABLE "lingue" (
  "lingua1" TEXT(50),
  "lingua2" TEXT(50),
  "lingua3" TEXT(50),
  "lingua4" TEXT(50)
);
INSERT INTO "lingue" VALUES ('Italiano', '', '', '');
