// The desktop side of the message and shell interfaces: Qt's message box and folder dialog,
// driven as a user would.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <filesystem>

#include "support/cartella_temp.h"
#include "tests/wizard/ambiente.h"
#include "wizard/messaggi_qt.h"
#include "wizard/shell_qt.h"

namespace tarkpo::wizard {
namespace {

template <class W>
W* Modale() {
  return qobject_cast<W*>(QApplication::activeModalWidget());
}

void ChiudiModale() {
  if (QWidget* w = QApplication::activeModalWidget()) w->close();
}

QAbstractButton* Pulsante(QMessageBox* box, const QString& testo) {
  for (QAbstractButton* b : box->buttons()) {
    if (b->text() == testo) return b;
  }
  return nullptr;
}

TEST(MessaggiQt, DomandaSenzaTitoloConNoPredefinito) {
  MessaggiQt messaggi;
  bool visto = false;
  {
    test::DuranteModale durante(
        [&] {
          QMessageBox* box = Modale<QMessageBox>();
          ASSERT_NE(box, nullptr);
          visto = true;
          EXPECT_TRUE(box->windowTitle().isEmpty());
          EXPECT_EQ(box->icon(), QMessageBox::Question);
          EXPECT_EQ(box->text(), QStringLiteral("procedere comunque?"));
          ASSERT_NE(box->defaultButton(), nullptr);
          EXPECT_EQ(box->defaultButton()->text(), QStringLiteral("No"));
          test::Tasto(box, Qt::Key_Return);  // Enter takes the default
        },
        ChiudiModale);
    EXPECT_EQ(messaggi.Mostra("procedere comunque?", Icona::Domanda, Pulsanti::SiNo), Risposta::No);
  }
  EXPECT_TRUE(visto);
  {
    test::DuranteModale durante(
        [&] {
          QMessageBox* box = Modale<QMessageBox>();
          ASSERT_NE(box, nullptr);
          Pulsante(box, QStringLiteral("Sì"))->click();
        },
        ChiudiModale);
    EXPECT_EQ(messaggi.Mostra("procedere comunque?", Icona::Domanda, Pulsanti::SiNo), Risposta::Si);
  }
  {
    test::DuranteModale durante(
        [&] {
          QMessageBox* box = Modale<QMessageBox>();
          ASSERT_NE(box, nullptr);
          EXPECT_EQ(box->icon(), QMessageBox::Warning);
          EXPECT_EQ(box->buttons().size(), 1);
          box->buttons().front()->click();
        },
        ChiudiModale);
    EXPECT_EQ(messaggi.Mostra("Errore", Icona::Esclamazione), Risposta::Ok);
  }
}

std::string Canonico(const std::string& percorso) {
  if (percorso.empty()) return {};
  return QDir(QString::fromStdString(percorso)).canonicalPath().toStdString();
}

TEST(ShellQt, SfogliaCartellaRestituisceUnaCartellaSceltaOVuoto) {
  test::CartellaTemp t;
  std::filesystem::create_directories(t / "negozio/sotto");
  std::filesystem::create_directories(t / "altra");
  const std::string file = t.Scrivi("negozio/catalog.mdb", "x");
  ShellQt shell;
  struct Caso {
    std::string iniziale;
    std::string scelta;  // "" = the user cancels
    std::string attesa;
  };
  const Caso casi[] = {
      {t / "negozio", t / "negozio/sotto", t / "negozio/sotto"},
      {t / "negozio", "", ""},
      {t / "non-esiste", t / "altra", t / "altra"},  // no preselection, still the pick
      {t / "negozio", file, ""},                     // a file cannot be confirmed
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.iniziale + " -> " + c.scelta);
    bool visto = false;
    test::DuranteModale durante(
        [&] {
          QFileDialog* dialogo = Modale<QFileDialog>();
          ASSERT_NE(dialogo, nullptr);
          visto = true;
          EXPECT_EQ(dialogo->windowTitle(), QStringLiteral("Cartella del negozio"));
          if (std::filesystem::exists(c.iniziale)) {
            EXPECT_EQ(dialogo->directory().canonicalPath().toStdString(), Canonico(c.iniziale));
          }
          if (!c.scelta.empty()) {
            dialogo->selectFile(QString::fromStdString(c.scelta));
            static_cast<QDialog*>(dialogo)->accept();  // public there
          }
          // Refused or cancelled: the dialog is still open and the user cancels it.
          if (dialogo->isVisible()) {
            EXPECT_TRUE(c.attesa.empty());
            dialogo->reject();
          }
        },
        ChiudiModale);
    std::string scelta = SfogliaCartella(shell, "Cartella del negozio", c.iniziale);
    EXPECT_TRUE(visto);
    EXPECT_EQ(Canonico(scelta), Canonico(c.attesa));
  }
}

}  // namespace
}  // namespace tarkpo::wizard
