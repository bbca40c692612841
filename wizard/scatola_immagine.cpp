#include "wizard/scatola_immagine.h"

#include <QImage>
#include <QImageReader>
#include <QString>

namespace tarkpo::wizard {

bool ScatolaImmagineQt::Carica(const std::string& percorso) {
  // The content decides the format, as with any picture loader, whatever the extension.
  QImageReader lettore(QString::fromStdString(percorso));
  lettore.setDecideFormatFromContent(true);
  const QImage immagine = lettore.read();
  if (immagine.isNull()) return false;
  larghezza_ = immagine.width();
  altezza_ = immagine.height();
  return true;
}

}  // namespace tarkpo::wizard
