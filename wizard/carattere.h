#pragma once
// The program's face: every window is drawn in it, whatever the desktop's default.

namespace tarkpo::wizard {

// Makes the face available to Qt (from fontconfig, or from its files when fontconfig does
// not list it) and sets it as the application's font. Needs the QApplication. False when
// the face cannot be found: Qt then substitutes a sans-serif face and captions may be cut.
bool ImpostaCarattereProgramma();

}  // namespace tarkpo::wizard
