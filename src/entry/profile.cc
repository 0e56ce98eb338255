#include "entry/profile.h"

#include "core/codepage.h"

namespace dodu::entry {

// profile_notes.cc, profile_folders.cc
void RegisterNotesProfile(ProfileRegistry& registry);
void RegisterFolderProfiles(ProfileRegistry& registry);

void RegisterEngineProfiles(ProfileRegistry& registry) {
  RegisterNotesProfile(registry);
  RegisterFolderProfiles(registry);
}

YearHeadings BuildYearHeadings(int base_year, bool final_declaration, bool exit_declaration) {
  YearHeadings h;
  h.CANOAN = h.CDIVAN = "Em 31/12/" + std::to_string(base_year - 1);
  h.CANOBA = h.CDIVBA = "Em 31/12/" + std::to_string(base_year);
  if (final_declaration) {
    h.CANOAN = " Data Partilha";
    h.CANOBA = " Val. Transf. ";
    h.CDIVBA = " Data Partilha";
  } else if (exit_declaration) {
    h.CANOBA = h.CDIVBA = core::Cp850("Dt.Não Resid.");
  }
  return h;
}

Result<Profile> ProfileRegistry::Build(EntryContext& ec, int number, int option) const {
  auto it = builders_.find(number);
  if (it == builders_.end()) {
    return Status::NotFound("browse profile " + std::to_string(number) + " is not defined");
  }
  DODU_ASSIGN_OR_RETURN(Profile p, it->second(ec, option));
  p.number = number;
  p.option = option;
  return p;
}

}  // namespace dodu::entry
