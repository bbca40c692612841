#pragma once
// Whether every caption of a window reads whole: each visible label, check box, option
// button and button measured with its own font against the room its control gives the text.
#include <QWidget>
#include <string>
#include <vector>

namespace tarkpo::test {

// One line per control whose text needs more room than it has, with both sizes; empty
// when every caption fits.
std::vector<std::string> TestiTagliati(const QWidget& finestra);

}  // namespace tarkpo::test
