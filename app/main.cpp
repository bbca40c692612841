#include "wizard/applicazione.h"

int main(int argc, char** argv) { return tarkpo::wizard::EseguiApplicazione(argc, argv); }
