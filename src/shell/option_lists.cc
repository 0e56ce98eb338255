#include "shell/option_lists.h"

#include <memory>
#include <set>

#include "core/codepage.h"
#include "core/id_format.h"
#include "entry/edita.h"
#include "screen/dialog.h"
#include "store/opener.h"
#include "store/upgrade.h"

namespace dodu::shell {

using core::Cp850;

namespace {

constexpr int kBanks = 77;
constexpr int kPayers = 74;
constexpr int kPayees = 53;
constexpr int kFolderList = 50;

std::string Trim(std::string s) {
  s.erase(0, s.find_first_not_of(' '));
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

std::string TextOf(const store::Record& r, const char* field) {
  Result<std::string> t = r.GetText(field);
  return t.ok() ? Trim(*t) : std::string();
}

std::string Digits(std::string_view s) { return core::TiraPonto(s); }

// Opens catalogue table `number` as asked; kNotFound when the installation
// does not have it (the opener leaves the area empty then).
Result<store::WorkArea*> Open(store::OpenerContext& ctx, store::WorkAreas& areas, int number,
                              bool exclusive) {
  DODU_RETURN_IF_ERROR(store::ABERTURA(ctx, areas, number, exclusive));
  store::WorkArea* a = areas.Get(number);
  if (a == nullptr) return Status::NotFound("table " + std::to_string(number) + " is missing");
  return a;
}

Result<int> RemoveRepeated(store::OpenerContext& ctx, store::WorkAreas& areas, int number,
                           const char* field) {
  const int before = areas.current();
  const bool was_open = areas.Get(number) != nullptr;
  DODU_ASSIGN_OR_RETURN(store::WorkArea * a, Open(ctx, areas, number, true));
  store::Table& t = a->table();
  std::set<std::string> seen;
  int removed = 0;
  Status st = [&]() -> Status {
    DODU_ASSIGN_OR_RETURN(uint32_t count, t.RefreshCount());
    for (uint32_t i = 1; i <= count; ++i) {
      DODU_ASSIGN_OR_RETURN(store::Record r, t.Read(store::RecNo{i}));
      if (r.deleted()) continue;
      const std::string cnpj = TextOf(r, field);
      // Lines without a CNPJ are not repetitions of one another.
      if (BlankCnpj(cnpj)) continue;
      if (seen.insert(cnpj).second) continue;
      DODU_RETURN_IF_ERROR(t.SetDeleted(store::RecNo{i}, true));
      ++removed;
    }
    return t.Pack();
  }();
  areas.Close(number);
  // Shared again for whoever had it open.
  if (was_open) (void)store::ABERTURA(ctx, areas, number);
  areas.Select(before);
  DODU_RETURN_IF_ERROR(st);
  return removed;
}

// The set of trimmed values of `field` in the live lines of `area`.
Result<std::set<std::string>> ValuesOf(store::WorkArea& area, const char* field, bool digits_only) {
  std::set<std::string> out;
  DODU_ASSIGN_OR_RETURN(uint32_t count, area.table().RefreshCount());
  for (uint32_t i = 1; i <= count; ++i) {
    DODU_ASSIGN_OR_RETURN(store::Record r, area.table().Read(store::RecNo{i}));
    if (r.deleted()) continue;
    const std::string v = TextOf(r, field);
    out.insert(digits_only ? Digits(v) : v);
  }
  return out;
}

Result<int> CopyLines(store::WorkArea& source, store::WorkArea& target, const char* from_field,
                      const char* to_field,
                      const std::function<std::string(const std::string&)>& convert,
                      size_t name_width);

// Copies from `from` (its CNPJ in `from_field`) to `to` the lines `convert`
// accepts (it answers the CNPJ as the target keeps it, "" to pass over).
Result<int> CopyCnpjs(store::OpenerContext& ctx, store::WorkAreas& areas, int from, int to,
                      const char* from_field, const char* to_field,
                      const std::function<std::string(const std::string&)>& convert,
                      size_t name_width) {
  const int before = areas.current();
  const bool from_open = areas.Get(from) != nullptr, to_open = areas.Get(to) != nullptr;
  Result<int> added = [&]() -> Result<int> {
    DODU_ASSIGN_OR_RETURN(store::WorkArea * source, Open(ctx, areas, from, false));
    DODU_ASSIGN_OR_RETURN(store::WorkArea * target, Open(ctx, areas, to, false));
    return CopyLines(*source, *target, from_field, to_field, convert, name_width);
  }();
  if (!from_open) areas.Close(from);
  if (!to_open) areas.Close(to);
  areas.Select(before);
  return added;
}

Result<int> CopyLines(store::WorkArea& source, store::WorkArea& target, const char* from_field,
                      const char* to_field,
                      const std::function<std::string(const std::string&)>& convert,
                      size_t name_width) {
  // Compared by digits: "12.345.678/0001-95" and "12345678000195" are one CNPJ.
  DODU_ASSIGN_OR_RETURN(std::set<std::string> present, ValuesOf(target, to_field, true));
  DODU_ASSIGN_OR_RETURN(uint32_t count, source.table().RefreshCount());
  int added = 0;
  for (uint32_t i = 1; i <= count; ++i) {
    DODU_ASSIGN_OR_RETURN(store::Record r, source.table().Read(store::RecNo{i}));
    if (r.deleted()) continue;
    const std::string cnpj = convert(TextOf(r, from_field));
    if (cnpj.empty() || BlankCnpj(cnpj) || present.count(Digits(cnpj)) != 0) continue;
    store::Record line = target.table().BlankRecord();
    DODU_RETURN_IF_ERROR(line.PutText(to_field, cnpj));
    DODU_RETURN_IF_ERROR(line.PutText("NOME", TextOf(r, "NOME").substr(0, name_width)));
    DODU_ASSIGN_OR_RETURN(store::RecNo n, target.table().Append(line));
    target.table().UnlockRecord(n);
    present.insert(Digits(cnpj));
    ++added;
  }
  return added;
}

std::string Count3(int n) {
  std::string s = std::to_string(n);
  if (s.size() < 3) s.insert(0, 3 - s.size(), ' ');
  return s;
}

entry::Column Col(const char* field, const char* mask, std::string_view heading) {
  return {field, field, mask, Cp850(heading), "", false};
}

Result<entry::Profile> BuildAuxiliary(entry::EntryContext&, int option) {
  entry::Profile p;
  p.number = 59;
  p.rect = {3, 2, 20, 77};
  p.frame = 1;
  p.footing_separator = true;
  switch (option) {
    case 1:
      p.area = kBanks;
      p.title = "AuxBanco";
      p.columns = {Col("NOME", "", "Banco / Empresa"), Col("CNPJ", "", "CNPJ"),
                   Col("AGENCBAN", "", "Agência"), Col("CONTABAN", "", "Conta"),
                   Col("DVBAN", "", "DV")};
      break;
    case 5:
      p.area = kPayers;
      p.title = "AuxFon";
      p.columns = {Col("NOME", "@S40", "Fonte Pagadora"), Col("CGCCPF", "", "CPF/CNPJ")};
      break;
    case 7:
      p.area = kPayees;
      p.title = "AuxPag";
      p.columns = {Col("NOME", "@S40", "Descrição"), Col("CGCCPF", "", "CPF/CNPJ"),
                   Col("CODIGO", "@z 99", "Cod.")};
      break;
    default:
      return Status::NotFound("profile 59 has no option " + std::to_string(option));
  }
  return p;
}

// The dispatcher's yes/no box; Esc counts as no.
bool Ask(ActionContext& c, const std::vector<std::string>& utf8, const std::string& title) {
  std::vector<std::string> lines;
  for (const std::string& l : utf8) lines.push_back(Cp850(l));
  return c.prompts.YesNo(lines, Cp850(title)).value_or(false);
}

void Info(ActionContext& c, const std::string& cp850) {
  c.sink.Box(static_cast<int>(platform::BoxStyle::kInfo), {cp850}, "");
}

void Failed(ActionContext& c, const Status& st) {
  c.sink.Box(static_cast<int>(platform::BoxStyle::kError), {st.message()}, "");
}

// Runs `profile` of the registry over its area, opened shared for the run
// when nobody had it open.
bool Browse(MaintenanceContext& m, const entry::ProfileRegistry& registry, int profile, int option,
            int table) {
  entry::EntryState state;
  entry::EntryContext ec{m.tk, m.ctx, m.areas, state};
  const int before = m.areas.current();
  const bool opened = m.areas.Get(table) == nullptr;
  if (opened) {
    Status st = store::ABERTURA(m.ctx, m.areas, table);
    if (!st.ok() || m.areas.Get(table) == nullptr) {
      m.areas.Select(before);
      return false;
    }
  }
  Result<screen::Key> k = entry::EDITA(ec, registry, profile, option);
  if (opened && table != kFolderList) m.areas.Close(table);
  m.areas.Select(before);
  return k.ok();
}

}  // namespace

bool BlankCnpj(std::string_view cnpj) {
  const std::string d = Digits(cnpj);
  return d.find_first_not_of('0') == std::string::npos;
}

Result<int> RemoveRepeatedBankCnpjs(store::OpenerContext& ctx, store::WorkAreas& areas) {
  return RemoveRepeated(ctx, areas, kBanks, "CNPJ");
}

Result<int> RemoveRepeatedPayerCnpjs(store::OpenerContext& ctx, store::WorkAreas& areas) {
  return RemoveRepeated(ctx, areas, kPayers, "CGCCPF");
}

Result<int> CopyPayerCnpjsToBanks(store::OpenerContext& ctx, store::WorkAreas& areas) {
  return CopyCnpjs(
      ctx, areas, kPayers, kBanks, "CGCCPF", "CNPJ",
      [](const std::string& v) { return Digits(v).size() == 14 ? v : std::string(); }, 30);
}

Result<int> CopyBankCnpjsToPayers(store::OpenerContext& ctx, store::WorkAreas& areas) {
  return CopyCnpjs(
      ctx, areas, kBanks, kPayers, "CNPJ", "CGCCPF",
      [](const std::string& v) {
        const std::string p = Trim(core::PoePonto(v));
        return p.size() == 18 ? p : std::string();
      },
      50);
}

void RegisterAuxiliaryProfiles(entry::ProfileRegistry& registry) {
  registry.Register(59, BuildAuxiliary);
}

void RegisterListOptions(ActionRegistry& registry, MaintenanceContext& m) {
  auto profiles = std::make_shared<entry::ProfileRegistry>();
  entry::RegisterEngineProfiles(*profiles);
  RegisterAuxiliaryProfiles(*profiles);

  registry.Register(15, [&m, profiles](ActionContext&) {
    if (m.areas.Get(kFolderList) == nullptr && !store::ABERTURA(m.ctx, m.areas, kFolderList).ok()) {
      return false;
    }
    {
      screen::LDialog* d = m.tk.LDLGSHOW(4, 9, 20, 70, "Pastas");
      (void)Browse(m, *profiles, 40, 0, kFolderList);
      if (d != nullptr) d->close();
    }
    // A folder added to the list may hold older tables.
    for (int n = 1; n <= 20; ++n) {
      if (store::VER_ATUAZ(m.ctx, n)) break;
    }
    return true;
  });

  registry.Register(39, [&m, profiles](ActionContext& c) {
    const int sub = c.sub1;
    switch (sub) {
      case 1:
        return Browse(m, *profiles, 59, 1, kBanks);
      case 5:
        return Browse(m, *profiles, 59, 5, kPayers);
      case 7:
        return Browse(m, *profiles, 59, 7, kPayees);
      case 2:
      case 6: {
        if (!Ask(c, {"Confirma a Exclusão dos CNPJs Repetidos"}, "Retira repetição de CNPJ")) {
          return false;
        }
        Result<int> n = sub == 2 ? RemoveRepeatedBankCnpjs(m.ctx, m.areas)
                                 : RemoveRepeatedPayerCnpjs(m.ctx, m.areas);
        if (!n.ok()) {
          Failed(c, n.status());
          return false;
        }
        Info(c, "Excluidos " + Count3(*n) + " CNPJs");
        return true;
      }
      case 3:
      case 4: {
        const bool to_banks = sub == 3;
        const std::vector<std::string> q =
            to_banks ? std::vector<std::string>{"Confirma a Inclusão dos CNPJs Do AUXfon",
                                                "Para a lista dos CNPJ dos Bancos?"}
                     : std::vector<std::string>{"Confirma Inclusão dos CNPJ dos Bancos no",
                                                "Arquivo auxiliar dos Rendimentos?"};
        if (!Ask(c, q, "Inclui CNPJ")) return false;
        Result<int> n = to_banks ? CopyPayerCnpjsToBanks(m.ctx, m.areas)
                                 : CopyBankCnpjsToPayers(m.ctx, m.areas);
        if (!n.ok()) {
          Failed(c, n.status());
          return false;
        }
        Info(c, "Incluidos " + Count3(*n) + " CNPJs");
        return true;
      }
      default:
        return false;
    }
  });
}

}  // namespace dodu::shell
