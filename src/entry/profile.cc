#include "entry/profile.h"

namespace dodu::entry {

// profile_notes.cc, profile_folders.cc
void RegisterNotesProfile(ProfileRegistry& registry);
void RegisterFolderProfiles(ProfileRegistry& registry);

void RegisterEngineProfiles(ProfileRegistry& registry) {
  RegisterNotesProfile(registry);
  RegisterFolderProfiles(registry);
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
