// Qt's own dialogs speak Italian under any locale of the desktop: the file dialogs, the
// folder browser and the standard buttons of a message box, as the program opens them.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <functional>

#include "tests/wizard/ambiente.h"
#include "wizard/dialoghi_file_qt.h"
#include "wizard/shell_qt.h"

namespace tarkpo::wizard {
namespace {

// The captions of the visible labels and buttons and the tooltips of the buttons, without
// their mnemonic "&".
QStringList Testi(QWidget* finestra) {
  QStringList testi;
  for (QLabel* l : finestra->findChildren<QLabel*>()) {
    if (l->isVisibleTo(finestra) && !l->text().isEmpty()) testi << l->text();
  }
  for (QAbstractButton* b : finestra->findChildren<QAbstractButton*>()) {
    if (!b->isVisibleTo(finestra)) continue;
    if (!b->text().isEmpty()) testi << b->text();
    if (!b->toolTip().isEmpty()) testi << b->toolTip();
  }
  for (QString& t : testi) t.remove(QLatin1Char('&'));
  return testi;
}

struct Caso {
  const char* schermata;
  std::function<void()> apri;  // opens the modal dialog and waits for it
  QStringList italiani;        // texts the dialog must show
};

TEST(DialoghiItaliani, FileCartelleEPulsantiStandardInItaliano) {
  const QString cartella = QStringLiteral(TARKPO_BINARI "/schermate");
  QDir().mkpath(cartella);
  test::CartellaTemp t;
  DialoghiFileQt dialoghi;
  ShellQt shell;
  const std::string kpo = "Configurazione importazione (*.kpo)|*.kpo";
  const Caso casi[] = {
      {"dialogo_apri.png",
       [&] { dialoghi.FileDaAprire("", kpo, t.Percorso().string()); },
       {"Cerca in:", "Nome del file:", "File di tipo:", "Apri", "Annulla", "Indietro",
        "Cartella superiore", "Crea nuova cartella", "Vista a elenco", "Vista dettagliata"}},
      {"dialogo_salva.png",
       [&] { dialoghi.FileDaSalvare("", kpo, t.Percorso().string(), "kpo"); },
       {"Cerca in:", "Nome del file:", "Salva", "Annulla"}},
      {"sfoglia_cartella.png",
       [&] {
         shell.ScegliCartella("Selezionare la cartella contenente i file .csv da importare:",
                              t.Percorso().string());
       },
       {"Cerca in:", "Cartella:", "Scegli", "Annulla"}},
      {"domanda.png",
       [] {
         QMessageBox box(QMessageBox::Question, QString(), QStringLiteral("Procedere?"),
                         QMessageBox::Yes | QMessageBox::No);
         box.exec();
       },
       {"Sì", "No"}},
  };
  const QStringList inglesi = {
      "Look in:", "File name:", "Files of type:", "Directory:",      "Open", "Save", "Choose",
      "Cancel",   "Yes",        "Back",           "Parent Directory"};
  for (const Caso& c : casi) {
    QStringList visti;
    bool aperto = false;
    test::DuranteModale durante(
        [&] {
          QWidget* dialogo = QApplication::activeModalWidget();
          if (!dialogo) return;
          aperto = true;
          visti = Testi(dialogo);
          dialogo->grab().save(cartella + QLatin1Char('/') + QLatin1String(c.schermata), "PNG");
          dialogo->close();
        },
        [] {
          if (QWidget* w = QApplication::activeModalWidget()) w->close();
        });
    c.apri();
    ASSERT_TRUE(aperto) << c.schermata;
    const std::string elenco = visti.join(QStringLiteral(" | ")).toStdString();
    for (const QString& atteso : c.italiani) {
      EXPECT_TRUE(visti.contains(atteso))
          << c.schermata << ": \"" << atteso.toStdString() << "\" not among " << elenco;
    }
    for (const QString& inglese : inglesi) {
      EXPECT_FALSE(visti.contains(inglese))
          << c.schermata << ": \"" << inglese.toStdString() << "\" left in English";
    }
  }
}

}  // namespace
}  // namespace tarkpo::wizard
