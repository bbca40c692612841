#pragma once

namespace tarkpo::wizard {

// Creates the Qt application, opens the first window and runs the message loop.
int EseguiApplicazione(int argc, char** argv);

}  // namespace tarkpo::wizard
