// REORG and REINDEXA: index rebuilds through the store's rewrite.
#include "store/reindex.h"

#include <cctype>
#include <memory>

#include "platform/paths.h"
#include "store/catalogue.h"
#include "store/dbf_file.h"
#include "store/folder_list.h"
#include "store/maintenance_messages.h"
#include "store/opener_messages.h"
#include "store/opener.h"
#include "store/workarea_index.h"

namespace dodu::store {
namespace {

constexpr int kErrorBox = static_cast<int>(platform::BoxStyle::kError);
constexpr int kInfoBox = static_cast<int>(platform::BoxStyle::kInfo);

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Builds each index afresh for the rewritten table; nothing else is asked of it
// while the table is held exclusively for the pack.
class RebuildHook final : public IndexHook {
 public:
  RebuildHook(platform::Env& env, IndexFile file) : env_(env), file_(std::move(file)) {}
  Status OnAppend(RecNo, std::string_view) override { return Status::Ok(); }
  Status OnChange(RecNo, std::string_view, std::string_view) override { return Status::Ok(); }
  Result<ReplacementFile> BuildForRewrite(DbfFile& table, const TableStamp& stamp) override {
    ReplacementFile f{platform::TemporaryNameFor(env_, file_.path), file_.path};
    Result<CdxIndex> built = BuildIndexFile(env_, table, f.temp_path, file_.expression, stamp);
    if (!built.ok()) {
      (void)env_.Remove(f.temp_path);
      return built.status();
    }
    return f;
  }
  Status OnReplaced(DbfFile&) override { return Status::Ok(); }

 private:
  platform::Env& env_;
  IndexFile file_;
};

std::optional<std::string> Existing(OpenerContext& ctx, const std::string& path) {
  Result<std::string> on_disk = platform::ResolveExisting(ctx.env, path);
  if (on_disk.ok() && ctx.env.Exists(*on_disk)) return *on_disk;
  return std::nullopt;
}

bool HasIndexFile(OpenerContext& ctx, const std::string& folder) {
  Result<std::vector<platform::DirEntry>> list = ctx.env.ListDir(folder);
  if (!list.ok()) return false;
  for (const platform::DirEntry& e : *list) {
    if (!e.is_dir && EndsWith(Upper(e.name), ".CDX")) return true;
  }
  return false;
}

// The folder's declaration table `def` with its catalogue indexes, rebuilt.
// A missing table is left for the opener to create.
Status RebuildDeclaration(OpenerContext& ctx, const std::string& folder, const TableDef& def) {
  const std::string base = TableFileName(def, ctx.names());
  std::optional<std::string> path = Existing(ctx, platform::JoinPath(folder, base + ".DBF"));
  if (!path) return Status::Ok();
  if (ctx.show_messages) ctx.sink.StatusText(msg::Checking(Upper(base)));
  Status st = RebuildTable(ctx.env, *path, CatalogueIndexFiles(ctx, def, *path));
  if (ctx.show_messages) ctx.sink.StatusText("");
  return st;
}

// An installation table by base name, packed with its catalogue indexes (none
// for a table the catalogue does not know).
Status RebuildInstallation(OpenerContext& ctx, const std::string& base, bool& existed) {
  std::optional<std::string> path =
      Existing(ctx, platform::JoinPath(ctx.installation_folder, base + ".DBF"));
  existed = path.has_value();
  if (!path) return Status::Ok();
  std::vector<IndexFile> indexes;
  if (const TableDef* def = FindTableByFileName(base, ctx.names())) {
    indexes = CatalogueIndexFiles(ctx, *def, *path);
  }
  return RebuildTable(ctx.env, *path, indexes);
}

}  // namespace

const std::vector<std::string>& InstallationPackList() {
  static const std::vector<std::string> kList = {
      "AGENDA",   "AUXBENS",  "AUXPAG",   "AUXBANCO", "AUXFON",   "BANCOS",   "CODBENS",
      "CODABENS", "CODEPEN",  "CODDIVI",  "CODNATUR", "CONFIMP",  "CONTAS",   "DEFINE",
      "DESPESA",  "DETALH",   "ECACIDAD", "IDOCIDAD", "FOLHAPG",  "HELPTXT",  "HELPATXT",
      "LISERRO",  "LISNOME",  "OCUPACAO", "PRINTS",   "STATUS",   "TABPAIS",  "TABEMBA",
      "TABMUNI",  "TABLOGR",  "UFIRM"};
  return kList;
}

Result<std::optional<std::string>> OpenDeclarationTerminal(OpenerContext& ctx,
                                                           const std::string& folder) {
  const TableDef* def = FindTable(9);
  std::optional<std::string> path =
      Existing(ctx, platform::JoinPath(folder, TableFileName(*def, ctx.names()) + ".DBF"));
  if (!path) return std::optional<std::string>();
  DODU_ASSIGN_OR_RETURN(std::unique_ptr<DbfFile> reg, DbfFile::Open(ctx.env, *path, false));
  const std::optional<size_t> field = reg->layout().IndexOf("NUSUAT");
  if (!field) return std::optional<std::string>();
  const FieldSlot& slot = reg->layout().slots()[*field];
  std::vector<std::string> checked;
  for (uint32_t n = 1; n <= reg->record_count(); ++n) {
    DODU_ASSIGN_OR_RETURN(std::string image, reg->ReadRecord(RecNo{n}));
    if (image[0] == '*') continue;
    std::string nusuat = image.substr(slot.offset, slot.spec.length);
    while (!nusuat.empty() && nusuat.back() == ' ') nusuat.pop_back();
    if (nusuat.empty() || nusuat == ctx.terminal) continue;
    bool seen = false;
    for (const std::string& c : checked) seen = seen || c == nusuat;
    if (seen) continue;
    checked.push_back(nusuat);
    if (IsTerminalRunning(ctx, nusuat)) return std::optional<std::string>(nusuat);
  }
  return std::optional<std::string>();
}

Status RebuildTable(platform::Env& env, const std::string& path,
                    const std::vector<IndexFile>& indexes) {
  DODU_ASSIGN_OR_RETURN(std::unique_ptr<Table> table, Table::Open(env, path, Sharing::kExclusive));
  std::vector<std::unique_ptr<RebuildHook>> hooks;
  for (const IndexFile& f : indexes) {
    hooks.push_back(std::make_unique<RebuildHook>(env, f));
    table->AttachIndex(*hooks.back());
  }
  Status st = table->Pack();
  for (auto& h : hooks) table->DetachIndex(*h);
  return st;
}

Result<ReorgReport> REORG(OpenerContext& ctx, WorkAreas& areas, const std::string& folder,
                          int mode) {
  ReorgReport report;
  if (!HasIndexFile(ctx, folder)) return report;
  DODU_ASSIGN_OR_RETURN(std::optional<std::string> open_on, OpenDeclarationTerminal(ctx, folder));
  if (open_on) {
    ctx.sink.Box(kErrorBox, {msg::FolderInUse(ctx.paths.ToSystem(folder), *open_on)}, "");
    report.blocked_by = open_on;
    return report;
  }
  for (int n = 1; n <= 21; ++n) areas.Close(n);
  report.rebuilt = true;
  for (int n = 1; n <= 21; ++n) {
    const TableDef* def = FindTable(n);
    Status st = RebuildDeclaration(ctx, folder, *def);
    if (st.ok()) continue;
    const std::string base = TableFileName(*def, ctx.names());
    if (st.IsLocked()) {
      report.busy.push_back(base);
      continue;
    }
    if (n == 9) continue;
    report.failed = base;
    return report;
  }
  if (mode == 4 && platform::EqualsIgnoreCase(folder, ctx.installation_folder)) {
    for (const std::string& base : InstallationPackList()) {
      bool existed = false;
      Status st = RebuildInstallation(ctx, base, existed);
      if (st.ok()) continue;
      if (st.IsLocked()) report.busy.push_back(base);
      break;
    }
  }
  return report;
}

std::vector<std::string> OwnWorkCopyFiles(OpenerContext& ctx) {
  std::vector<std::string> out;
  Result<std::vector<platform::DirEntry>> list = ctx.env.ListDir(ctx.work_folder);
  if (!list.ok()) return out;
  for (const platform::DirEntry& e : *list) {
    if (e.is_dir) continue;
    const std::string name = Upper(e.name);
    // "TMP_" + two digits + terminal + "." ...
    if (name.size() < 9 || name.compare(0, 4, "TMP_") != 0) continue;
    if (!std::isdigit(static_cast<unsigned char>(name[4])) ||
        !std::isdigit(static_cast<unsigned char>(name[5]))) {
      continue;
    }
    if (name.compare(6, ctx.terminal.size(), Upper(ctx.terminal)) != 0) continue;
    if (name.size() <= 6 + ctx.terminal.size() || name[6 + ctx.terminal.size()] != '.') continue;
    out.push_back(platform::JoinPath(ctx.work_folder, e.name));
  }
  return out;
}

Result<ReindexReport> REINDEXA(OpenerContext& ctx, WorkAreas& areas, const std::string& cpf) {
  ReindexReport report;
  if (!ctx.Confirm(msg::ReindexQuestionCp850())) return report;
  report.asked = true;
  ctx.show_messages = true;
  for (int n : areas.OpenNumbers()) {
    if (n != 50) areas.Close(n);
  }
  for (const std::string& f : OwnWorkCopyFiles(ctx)) (void)ctx.env.Remove(f);

  // The installation folder's own indexed tables; the folder list is ours and
  // open, so it is packed through its open (its orders rebuild with it).
  WorkArea* list = areas.Get(50);
  const std::string list_base = TableFileName(*FindTable(50), ctx.names());
  for (const TableDef& def : AllTables()) {
    if (def.folder != Folder::kInstallation || def.keys.empty()) continue;
    const std::string base = TableFileName(def, ctx.names());
    if (platform::EqualsIgnoreCase(base, list_base)) continue;
    bool existed = false;
    Status st = RebuildInstallation(ctx, base, existed);
    if (st.IsLocked()) report.busy.push_back(ctx.paths.ToSystem(ctx.installation_folder) + ": " + base);
  }
  std::vector<std::string> folders;
  if (list != nullptr) {
    std::string here;
    if (Result<Record> r = list->Current(); r.ok()) here = r->GetText("DIRETOR").value_or("");
    Status packed = list->table().Pack();
    if (!packed.ok()) report.busy.push_back(list_base);
    for (Status s = list->Top(); s.ok() && !list->eof(); s = list->Skip()) {
      Result<Record> r = list->Current();
      if (!r.ok()) break;
      Result<std::string> folder = FolderFromList(ctx, r->GetText("DIRETOR").value_or(""));
      if (!folder.ok()) continue;
      // The list keeps folders in upper case; the disk may not.
      Result<std::string> on_disk = platform::ResolveExisting(ctx.env, *folder);
      if (on_disk.ok() && ctx.env.IsDirectory(*on_disk)) folders.push_back(*on_disk);
    }
    (void)list->Top();
    if (!here.empty()) (void)list->Seek(here);
  }

  const std::string data_folder = ctx.data_folder;
  for (const std::string& folder : folders) {
    Result<ReorgReport> r = REORG(ctx, areas, folder, 4);
    if (!r.ok()) continue;
    const std::string shown = ctx.paths.ToSystem(folder);
    if (r->blocked_by) report.refused.push_back(shown);
    for (const std::string& b : r->busy) report.busy.push_back(shown + ": " + b);
  }
  ctx.data_folder = data_folder;
  ctx.show_messages = false;
  (void)ABERTURA(ctx, areas, 0);
  (void)MUDADIR(ctx, areas, ctx.data_folder, cpf);
  if (!report.busy.empty()) {
    std::vector<std::string> lines{msg::TablesSkipped()};
    for (const std::string& b : report.busy) lines.push_back(b);
    ctx.sink.Box(kInfoBox, lines, "");
  }
  return report;
}

}  // namespace dodu::store
