// Profile 56: the selection list of an import (table 70, LISNOME), where the
// operator marks with "S" each taxpayer to convert.
#ifndef DODU_ENTRY_PROFILE_IMPORT_H_
#define DODU_ENTRY_PROFILE_IMPORT_H_

#include "entry/profile.h"

namespace dodu::entry {

inline constexpr int kImportSelectionProfile = 56;
inline constexpr int kSelectionListArea = 70;

// Registers profile 56: columns " CPF " (CPF mask), " Nome do Contribuinte "
// (30 characters), "Origem" and "Conve" (IMPRE, upper case, the only one
// edited), three frozen, the count of declarations under the list; Alt with
// "+" marks every entry, Alt with "-" unmarks every one. The list must be open
// in area 70 (it is opened exclusively, so its writes need no lock).
void RegisterImportProfiles(ProfileRegistry& registry);

}  // namespace dodu::entry

#endif  // DODU_ENTRY_PROFILE_IMPORT_H_
