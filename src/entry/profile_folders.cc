// Profiles 40 and 57: a terminal's list of data folders (table 50, "DIRET" +
// terminal), this installation's in area 50 (40) and the previous
// installation's, opened by the caller in the current area (57).
#include "core/codepage.h"
#include "entry/profile.h"

namespace dodu::entry {
namespace {

constexpr int kFolderListArea = 50;

Result<Profile> BuildFolders(bool own, EntryContext&, int) {
  Profile p;
  p.area = own ? kFolderListArea : 0;
  p.rect = {5, 10, 19, 69};
  p.frame = 1;
  p.columns = {{"DIRETOR", "DIRETOR", "@!S56", core::Cp850("Nome dos diretórios"), "", false}};
  p.footing_separator = own;
  p.redraw_all_after_edit = own;
  p.hooks.validate = [](RecordBrowser&, int, screen::EditValue& v) {
    // Folders are kept without the final separator.
    if (auto* s = std::get_if<std::string>(&v)) {
      size_t e = s->find_last_not_of(' ');
      if (e != std::string::npos && ((*s)[e] == '\\' || (*s)[e] == '/')) (*s)[e] = ' ';
    }
    return true;
  };
  return p;
}

}  // namespace

void RegisterFolderProfiles(ProfileRegistry& registry) {
  registry.Register(40,
                    [](EntryContext& ec, int option) { return BuildFolders(true, ec, option); });
  registry.Register(57,
                    [](EntryContext& ec, int option) { return BuildFolders(false, ec, option); });
}

}  // namespace dodu::entry
