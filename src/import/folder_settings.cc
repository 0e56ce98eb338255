#include "import/folder_settings.h"

#include "store/opener.h"
#include "store/rec_lock.h"

namespace dodu::import {
namespace {

constexpr int kSettingsTable = 42;

bool OriginIsDirprov(int menu_code) {
  return menu_code == 4 || menu_code == 6 || menu_code == 7 || menu_code == 8;
}

Result<std::optional<store::Record>> TerminalRecord(store::OpenerContext& ctx,
                                                    store::WorkAreas& areas) {
  if (areas.Get(kSettingsTable) == nullptr)
    DODU_RETURN_IF_ERROR(store::ABERTURA(ctx, areas, kSettingsTable));
  store::WorkArea* a = areas.Get(kSettingsTable);
  if (a == nullptr) return Status::NotFound("CONFIG");
  DODU_RETURN_IF_ERROR(a->SetOrder(1));
  DODU_ASSIGN_OR_RETURN(bool hit, a->Seek(ctx.terminal));
  if (!hit) return std::optional<store::Record>();
  DODU_ASSIGN_OR_RETURN(store::Record r, a->Current());
  return std::optional<store::Record>(std::move(r));
}

}  // namespace

std::string WithFinalBackslash(std::string name) {
  while (!name.empty() && name.back() == ' ') name.pop_back();
  if (!name.empty() && name.back() != '\\' && name.back() != '/') name += '\\';
  return name;
}

Result<ImportFolders> ReadImportFolders(store::OpenerContext& ctx, store::WorkAreas& areas,
                                        int menu_code) {
  DODU_ASSIGN_OR_RETURN(std::optional<store::Record> r, TerminalRecord(ctx, areas));
  auto field = [&](const char* name) {
    return r ? r->GetTrimmed(name).value_or("") : std::string();
  };
  ImportFolders f;
  f.destination = WithFinalBackslash(ctx.paths.ToSystem(ctx.data_folder));
  if (OriginIsDirprov(menu_code)) {
    f.origin = field("DIRPROV");
    if (f.origin.empty()) f.origin = kOfficialSavedFolder;
  } else {
    f.origin = field("ROTAREANT");
  }
  f.installation = WithFinalBackslash(field("DIRINST"));
  return f;
}

Status StoreImportFolders(store::OpenerContext& ctx, store::WorkAreas& areas, int menu_code,
                          const ImportFolders& folders) {
  DODU_ASSIGN_OR_RETURN(std::optional<store::Record> r, TerminalRecord(ctx, areas));
  store::WorkArea& a = *areas.Get(kSettingsTable);
  if (r) {
    DODU_RETURN_IF_ERROR(store::REC_LOCK(ctx, a, 5));
  } else {
    DODU_RETURN_IF_ERROR(store::ADD_REC(ctx, a, 5));
    r = a.table().BlankRecord();
    DODU_RETURN_IF_ERROR(r->PutText("NRO_TERM", ctx.terminal));
  }
  const store::RecNo at = a.recno();
  Status st =
      r->PutText(menu_code == 4 || menu_code == 6 ? "DIRPROV" : "ROTAREANT", folders.origin);
  if (st.ok()) st = r->PutText("ROTADOANO", folders.destination);
  if (st.ok()) st = r->PutText("DIRINST", folders.installation);
  if (st.ok()) st = a.WriteCurrent(*r);
  a.table().UnlockRecord(at);
  return st;
}

}  // namespace dodu::import
