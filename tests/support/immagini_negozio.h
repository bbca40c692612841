#pragma once
// The pictures a shop's items name, checked against the files in its work folder: whatever
// befell an import (a full disk, a failing disk, a kill, a picture that could not be
// copied), every picture a row of "articoli" names must be there, whole, and of the width
// and height the row records.
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tarkpo::test {

// Width and height of a picture file when it is whole, nothing otherwise.
using MisuraImmagine = std::function<std::optional<std::pair<int, int>>(const std::string& file)>;

// A BMP (24 bits) of that size whose pixels depend on `seme`.
std::string BmpProva(int larghezza, int altezza, unsigned seme = 0);
// A BMP is whole when it is as long as its header says and holds the pixels its size needs.
std::optional<std::pair<int, int>> MisuraBmp(const std::string& file);

// For every row of "articoli" of the shop and every picture column ("immagine0" to
// "immagine2", with "imgX<n>" and "imgY<n>") that names a picture: a line for each that is
// missing from `cartellaLavoro`, not whole, or of another size than the row's. Empty when
// every picture holds. The shop is opened as any next user would open it (a journal left
// beside it is rolled back first).
std::vector<std::string> ImmaginiDifettose(const std::string& fileNegozio,
                                           const std::string& cartellaLavoro,
                                           const MisuraImmagine& misura = MisuraBmp);

}  // namespace tarkpo::test
