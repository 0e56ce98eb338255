// The upgrade check and the upgrade of old declaration tables.
#include "store/upgrade.h"

#include <memory>

#include "platform/paths.h"
#include "store/catalogue.h"
#include "store/cdx_index.h"
#include "store/dbf_file.h"
#include "store/lock_file.h"
#include "store/maintenance_messages.h"
#include "store/opener.h"
#include "store/workarea_index.h"

namespace dodu::store {
namespace {

constexpr int kErrorBox = static_cast<int>(platform::BoxStyle::kError);
constexpr int kInfoBox = static_cast<int>(platform::BoxStyle::kInfo);
// Records are written to the new file in chunks of about this many bytes.
constexpr size_t kChunkBytes = 1 << 20;

// The path of declaration table `number` in the data folder: the name on disk
// when it exists (any case), otherwise the catalogue's.
std::string DeclarationPath(OpenerContext& ctx, const TableDef& def) {
  std::string p = platform::JoinPath(ctx.data_folder, TableFileName(def, ctx.names()) + ".DBF");
  if (Result<std::string> on_disk = platform::ResolveExisting(ctx.env, p); on_disk.ok()) {
    return *on_disk;
  }
  return p;
}

std::string WithoutExtension(const std::string& path) {
  const std::string base = platform::BaseName(path);
  size_t dot = base.rfind('.');
  return dot == std::string::npos ? path : path.substr(0, path.size() - (base.size() - dot));
}

// The fields of `to` take the values of the same-named fields of `from` when
// both have the same type: text cut or padded, numbers re-written for the new
// width, dates and logicals as they are. Memos are not carried (no signed table
// has one).
Status CopyByName(const Record& from, Record& to) {
  for (const FieldSlot& s : to.layout().slots()) {
    const FieldSlot* src = from.layout().Find(s.spec.name);
    if (src == nullptr || src->spec.type != s.spec.type) continue;
    switch (s.spec.type) {
      case FieldType::kChar: {
        DODU_ASSIGN_OR_RETURN(std::string text, from.GetText(s.spec.name));
        DODU_RETURN_IF_ERROR(to.PutText(s.spec.name, text));
        break;
      }
      case FieldType::kNumeric: {
        DODU_ASSIGN_OR_RETURN(std::string_view raw, from.Raw(s.spec.name));
        if (raw.find_first_not_of(' ') == std::string_view::npos) break;  // blank stays blank
        DODU_ASSIGN_OR_RETURN(core::Decimal v, from.GetNumber(s.spec.name));
        DODU_RETURN_IF_ERROR(to.PutNumber(s.spec.name, v));
        break;
      }
      case FieldType::kDate:
      case FieldType::kLogical: {
        DODU_ASSIGN_OR_RETURN(std::string_view raw, from.Raw(s.spec.name));
        DODU_RETURN_IF_ERROR(to.PutRaw(s.spec.name, raw));
        break;
      }
      case FieldType::kMemo:
        break;
    }
  }
  return Status::Ok();
}

}  // namespace

const std::vector<UpgradeSignature>& UpgradeSignatures() {
  static const std::vector<UpgradeSignature> kSignatures = {
      {1, "I3_04EXTRC", FieldType::kNumeric}, {4, "NROBANCO", FieldType::kChar},
      {6, "I6_8", FieldType::kNumeric},       {9, "AAR_EXTER", FieldType::kChar},
      {11, "COLUN", FieldType::kNumeric},     {15, "FONE_CONT", FieldType::kChar},
      {16, "CPFPJ_CONT", FieldType::kChar},   {19, "NUM_DOC", FieldType::kChar},
  };
  return kSignatures;
}

const UpgradeSignature* FindUpgradeSignature(int table) {
  for (const UpgradeSignature& s : UpgradeSignatures()) {
    if (s.table == table) return &s;
  }
  return nullptr;
}

bool HasCurrentLayout(int table, const Layout& layout) {
  const UpgradeSignature* sig = FindUpgradeSignature(table);
  if (sig == nullptr) return true;
  const FieldSpec* f = FindField(layout, sig->field);
  return f != nullptr && f->type == sig->type;
}

std::vector<IndexFile> CatalogueIndexFiles(OpenerContext& ctx, const TableDef& def,
                                           const std::string& table_path) {
  std::vector<IndexFile> out;
  const std::string folder = platform::ParentPath(table_path);
  const std::vector<std::string> names = IndexFileNames(def, ctx.names());
  for (size_t i = 0; i < names.size() && i < def.keys.size(); ++i) {
    std::string p = platform::JoinPath(folder, names[i] + ".CDX");
    if (Result<std::string> on_disk = platform::ResolveExisting(ctx.env, p); on_disk.ok()) {
      p = *on_disk;
    }
    out.push_back({p, def.keys[i].expression});
  }
  return out;
}

Result<bool> TableNeedsUpgrade(OpenerContext& ctx, int number) {
  const UpgradeSignature* sig = FindUpgradeSignature(number);
  const TableDef* def = FindTable(number);
  if (sig == nullptr || def == nullptr) return false;
  const std::string path = DeclarationPath(ctx, *def);
  if (!ctx.env.Exists(path)) {
    DODU_RETURN_IF_ERROR(CRIA(ctx, *def, path));
    return false;
  }
  DODU_ASSIGN_OR_RETURN(std::unique_ptr<DbfFile> f, DbfFile::Open(ctx.env, path, false));
  return !HasCurrentLayout(number, f->layout().fields());
}

bool VER_ATUAZ(OpenerContext& ctx, int number) {
  Result<bool> needs = TableNeedsUpgrade(ctx, number);
  if (!needs.ok() || !*needs) return false;
  ctx.sink.Box(kInfoBox, msg::UpgradeNeeded(), msg::UpgradeNeededTitle());
  return true;
}

Status ApplyRuralRule(Record& record) {
  DODU_ASSIGN_OR_RETURN(std::string rural, record.GetTrimmed("TEMRURAL"));
  if (rural != "S") {
    DODU_RETURN_IF_ERROR(record.PutText("ATV_BRASIL", ""));
    return record.PutText("AAR_EXTER", "");
  }
  DODU_ASSIGN_OR_RETURN(std::string brasil, record.GetTrimmed("ATV_BRASIL"));
  if (brasil == "S") return record.PutText("AAR_EXTER", "N");
  DODU_RETURN_IF_ERROR(record.PutText("ATV_BRASIL", "S"));
  return record.PutText("AAR_EXTER", "S");
}

Result<uint32_t> RewriteWithLayout(platform::Env& env, Table& old, const Layout& layout,
                                   const RecordFix& fix, const std::vector<IndexFile>& indexes) {
  if (old.sharing() != Sharing::kExclusive) {
    return Status::Invalid(old.path() + ": rewritten without the exclusive open");
  }
  const std::string path = old.path();
  DODU_ASSIGN_OR_RETURN(TableStamp old_stamp, old.Stamp());
  DODU_ASSIGN_OR_RETURN(std::unique_ptr<LockFile> lock, LockFile::Open(env, path));
  DODU_ASSIGN_OR_RETURN(uint64_t word, lock->ReadChangeWord());
  uint32_t generation = static_cast<uint32_t>(
      std::max<uint64_t>(old_stamp.generation, word & 0xFFFFFFFFu) + 1);
  if (generation == 0) generation = 1;

  // Temporary names of this station (process id and counter), so two
  // stations never build into one file.
  const std::string temp = platform::TemporaryNameFor(env, path);
  std::vector<ReplacementFile> built;
  auto cleanup = [&](Status s) {
    (void)env.Remove(temp);
    for (const ReplacementFile& f : built) (void)env.Remove(f.temp_path);
    return s;
  };

  DbfHeader h;
  h.version = old.file().header().version & 0x07;  // no memo in the new layout's place
  h.fields = layout;
  if (h.has_memo()) return Status::Invalid(path + ": memo fields are not carried by the upgrade");
  h.generation = generation;
  platform::CivilTime today = env.clock().Now();
  h.update_year = today.year;
  h.update_month = today.month;
  h.update_day = today.day;
  auto created = DbfFile::Create(env, temp, h);
  if (!created.ok()) return cleanup(created.status());
  std::unique_ptr<DbfFile> fresh = std::move(created).value();

  DODU_ASSIGN_OR_RETURN(RecordLayout rl, RecordLayout::Make(layout));
  auto new_layout = std::make_shared<const RecordLayout>(std::move(rl));
  std::string chunk;
  const uint32_t count = old.record_count();
  for (uint32_t i = 1; i <= count; ++i) {
    Result<Record> rec = old.Read(RecNo{i});
    if (!rec.ok()) return cleanup(rec.status());
    if (rec->deleted()) continue;
    Record out = Record::Blank(new_layout);
    Status st = CopyByName(*rec, out);
    if (st.ok() && fix) st = fix(out);
    if (!st.ok()) {
      return cleanup(Status(st.code(), path + ": record " + std::to_string(i) + ": " + st.message()));
    }
    chunk += out.bytes();
    if (chunk.size() >= kChunkBytes) {
      if (Status s = fresh->AppendBulk(chunk, today); !s.ok()) return cleanup(s);
      chunk.clear();
    }
  }
  if (Status s = fresh->AppendBulk(chunk, today); !s.ok()) return cleanup(s);
  if (Status s = fresh->Sync(); !s.ok()) return cleanup(s);

  const TableStamp stamp{generation, fresh->record_count()};
  for (const IndexFile& ix : indexes) {
    ReplacementFile f{platform::TemporaryNameFor(env, ix.path), ix.path};
    built.push_back(f);
    Result<CdxIndex> b = BuildIndexFile(env, *fresh, f.temp_path, ix.expression, stamp);
    if (!b.ok()) return cleanup(b.status());
  }
  const uint32_t written = fresh->record_count();
  fresh.reset();

  if (Status s = lock->WriteChangeWord(generation); !s.ok()) return cleanup(s);
  // The commit point: the table first, so an index renamed later can only be
  // the new one or an old one that disagrees with the new table's stamp.
  if (Status s = env.Rename(temp, path); !s.ok()) return cleanup(s);
  Status result = Status::Ok();
  for (const ReplacementFile& f : built) {
    Status s = env.Rename(f.temp_path, f.final_path);
    if (!s.ok() && result.ok()) {
      (void)env.Remove(f.temp_path);
      result = Status(s.code(), path + ": rewritten, but " + f.final_path +
                                    " was not replaced (stale: rebuilt on open): " + s.message());
    }
  }
  if (!result.ok()) return result;
  return written;
}

Result<bool> CORRIGE(OpenerContext& ctx, int number) {
  const TableDef* def = FindTable(number);
  if (def == nullptr || FindUpgradeSignature(number) == nullptr) return false;
  DODU_ASSIGN_OR_RETURN(bool needs, TableNeedsUpgrade(ctx, number));
  if (!needs) return false;
  const std::string path = DeclarationPath(ctx, *def);
  Result<std::unique_ptr<Table>> old = Table::Open(ctx.env, path, Sharing::kExclusive);
  if (!old.ok()) {
    ctx.sink.Box(kErrorBox, {msg::CouldNotUpgrade(WithoutExtension(path))}, "");
    return old.status();
  }
  // Looked at again under the exclusive open: another station may have
  // upgraded it between the first look and ours.
  if (HasCurrentLayout(number, (*old)->layout().fields())) return false;
  RecordFix fix;
  if (number == 9) fix = ApplyRuralRule;
  Result<uint32_t> done =
      RewriteWithLayout(ctx.env, **old, def->layout, fix, CatalogueIndexFiles(ctx, *def, path));
  old->reset();
  if (!done.ok()) {
    ctx.sink.Box(kErrorBox, {msg::CouldNotUpgrade(WithoutExtension(path))}, "");
    return done.status();
  }
  ctx.sink.StatusText("");
  ctx.sink.Box(kInfoBox, {msg::Upgraded(WithoutExtension(path))}, "");
  return true;
}

int CORRECAO(OpenerContext& ctx, int mode) {
  if (mode != 0) {
    ctx.show_messages = true;
    return 0;
  }
  int rewritten = 0;
  for (const UpgradeSignature& s : UpgradeSignatures()) {
    Result<bool> r = CORRIGE(ctx, s.table);
    if (r.ok() && *r) ++rewritten;
  }
  return rewritten;
}

}  // namespace dodu::store
