#include "wizard/scatola_immagine.h"

#include <QImageReader>
#include <QSize>
#include <QString>

namespace tarkpo::wizard {

bool ScatolaImmagineQt::Carica(const std::string& percorso) {
  // The content decides the format, as with any picture loader, whatever the extension. Only
  // the header is read: decoding the pixels would cost a photo's whole decode on every
  // import and refuse nothing more, since a picture cut short decodes to its upper part.
  QImageReader lettore(QString::fromStdString(percorso));
  lettore.setDecideFormatFromContent(true);
  if (!lettore.canRead()) return false;
  const QSize dimensione = lettore.size();
  if (dimensione.isEmpty()) return false;  // also the invalid size of a damaged header
  larghezza_ = dimensione.width();
  altezza_ = dimensione.height();
  return true;
}

}  // namespace tarkpo::wizard
