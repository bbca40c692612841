#pragma once
// Where the program keeps its settings: the application of the per-user settings store,
// and the two settings paths of the database engine, one per CSV delimiter.
namespace tarkpo {

inline constexpr const char* kApplicazione = "Tarvelin KPO";
// Delimiter ";" (an empty delimiter choice).
inline constexpr const char* kIniPathSet0 =
    "HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Tarvelin KPO\\set0\\Jet\\4.0";
// Delimiter "," (delimiter choice "1").
inline constexpr const char* kIniPathSet1 =
    "HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Tarvelin KPO\\set1\\Jet\\4.0";

}  // namespace tarkpo
