// The import engine's routines live beside this file.
namespace tarkpo::motore {}
