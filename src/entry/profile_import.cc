#include "entry/profile_import.h"

#include "core/codepage.h"
#include "entry/record_browser.h"

namespace dodu::entry {
namespace {

// Writes `mark` into IMPRE of every entry of the list.
Status MarkAll(RecordBrowser& b, const std::string& mark) {
  store::Table& t = b.area().table();
  for (store::RecNo n : b.rows()) {
    DODU_ASSIGN_OR_RETURN(store::Record r, t.Read(n));
    DODU_RETURN_IF_ERROR(r.PutText("IMPRE", mark));
    DODU_RETURN_IF_ERROR(t.Write(n, r));
  }
  return b.Reload();
}

Result<Profile> BuildSelection(EntryContext&, int) {
  Profile p;
  p.area = kSelectionListArea;
  p.title = core::Cp850("Seleção para a importação -  Alt + Marca todos / Alt - Desmarca");
  p.rect = {3, 2, 21, 77};
  p.frame = 1;
  p.columns = {
      {"CPF", "", "@R 999.999.999-99", " CPF ", ""},
      {"LEFT(NOMECONTR,30)", "", "", " Nome do Contribuinte ", ""},
      {"ORIGEM", "", "", "Origem", ""},
      {"IMPRE", "IMPRE", "@!", "Conve", ""},
  };
  p.frozen = 3;
  p.first_column = 3;
  p.footing.count_label = core::Cp850("Nro. de Declarações.");
  p.hooks.pre_edit = [](RecordBrowser&, int column) { return column == 3; };
  p.hooks.validate = [](RecordBrowser&, int, screen::EditValue& v) {
    if (auto* s = std::get_if<std::string>(&v)) {
      for (char& c : *s) c = (c == 's') ? 'S' : (c == 'n' ? 'N' : c);
    }
    return true;
  };
  p.hooks.key = [](RecordBrowser& b, screen::Key key) {
    if (key.type != screen::KeyType::kAlt) return KeyOutcome::kNotMine;
    if (key.code != '+' && key.code != '-' && key.code != '=') return KeyOutcome::kNotMine;
    (void)MarkAll(b, key.code == '-' ? "" : "S");
    return KeyOutcome::kHandled;
  };
  return p;
}

}  // namespace

void RegisterImportProfiles(ProfileRegistry& registry) {
  registry.Register(kImportSelectionProfile, BuildSelection);
}

}  // namespace dodu::entry
