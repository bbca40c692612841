#pragma once
// The program's face and style: every window is drawn in them, whatever the desktop's
// defaults, so captions have the room they were checked with.

namespace tarkpo::wizard {

// Makes the face available to Qt (from fontconfig, or from its files when fontconfig does
// not list it) and sets it as the application's font, and sets Qt's Fusion style, whose
// spacing around check boxes and button texts the captions are laid out for (a desktop's
// own style may need more). Needs the QApplication. False when
// the face cannot be found: Qt then substitutes a sans-serif face and captions may be cut.
bool ImpostaAspettoProgramma();

}  // namespace tarkpo::wizard
