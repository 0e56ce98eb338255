// BUSCA_CIDADE: the official code of a municipality by its name and state,
// sought in the municipality table TABMUNI (table 64) and then in the second
// one, TAB_MUNI (table 94), of the installation folder. Names compare in
// capitals, blanks at both ends ignored. Both tables are opened shared and
// read only for the lookup and closed again.
#ifndef DODU_HANDOVER_MUNICIPALITY_LOOKUP_H_
#define DODU_HANDOVER_MUNICIPALITY_LOOKUP_H_

#include <string>
#include <string_view>

#include "platform/env.h"

namespace dodu::handover {

// NROMUNI of the first record whose NOMEMUNI + UNIFED match; "" when neither
// table has it (a missing or unreadable table counts as not having it).
std::string FindMunicipalityCode(platform::Env& env, const std::string& installation_folder,
                                 std::string_view name, std::string_view uf);

}  // namespace dodu::handover

#endif  // DODU_HANDOVER_MUNICIPALITY_LOOKUP_H_
