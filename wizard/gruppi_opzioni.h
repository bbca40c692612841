#pragma once
// Option groups as on the desktop the catalogue's users know: a group is one tab stop, on
// its chosen option (the first one that can be chosen when none is); an arrow key moves
// within the group and chooses the option it moves to. Qt would keep the stop on the option
// focused last and move the arrows without choosing, so Tab and Space could change a choice
// the user never made.
#include <QAbstractButton>
#include <QKeyEvent>

namespace tarkpo::wizard {

// Gives every option group in `finestra` its one tab stop. Setting a choice from code does
// not move the stop, so this runs just before the keyboard moves the focus.
void FermateGruppi(QWidget* finestra);

// An arrow pressed on an option of a group: moves to the next option in tab order that can
// be chosen (wrapping around the group), focuses it and clicks it, so its handler runs as
// for the user. False when `tasto` is no arrow or `opzione` belongs to no group.
bool FrecciaInGruppo(QAbstractButton* opzione, const QKeyEvent& tasto);

}  // namespace tarkpo::wizard
