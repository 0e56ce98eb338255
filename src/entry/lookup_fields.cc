#include "entry/lookup_fields.h"

#include "core/id_format.h"
#include "core/picture.h"
#include "entry/adic_reg.h"
#include "entry/record_write.h"
#include "store/opener.h"

namespace dodu::entry {

using screen::EditKind;
using screen::EditValue;
using Values = std::vector<std::pair<std::string, EditValue>>;

namespace {

constexpr int kRegisterArea = 9;
constexpr int kIncomeCopy = 22;
constexpr int kPaymentsCopy = 26;
constexpr int kRuralIdentificationCopy = 36;

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

std::string Trimmed(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

std::string TextOf(const store::Record& r, const char* field) {
  Result<std::string> t = r.GetTrimmed(field);
  return t.ok() ? *t : std::string();
}

EditValue ValueOf(const store::Record& r, const char* field) {
  Result<EditValue> v = FieldValue(r, field);
  if (!v.ok()) return std::string();
  if (auto* s = std::get_if<std::string>(&*v)) return Trimmed(*s);
  return *v;
}

// `v` made of kind `kind`: codes kept as numbers go into text fields and back.
std::optional<EditValue> As(const EditValue& v, EditKind kind) {
  if (screen::KindOf(v) == kind) return v;
  if (kind == EditKind::kText) {
    if (auto* d = std::get_if<core::Decimal>(&v)) return EditValue(d->ToString());
  }
  if (kind == EditKind::kNumber) {
    if (auto* s = std::get_if<std::string>(&v)) {
      std::string t = *s;
      t.erase(0, t.find_first_not_of(' '));
      std::optional<core::Decimal> d = core::Decimal::Parse(Trimmed(t));
      if (d) return EditValue(*d);
    }
  }
  return std::nullopt;
}

// A value into a field of a record; a field the table lacks is passed over.
Status PutLoose(store::Record& r, const std::string& name, const EditValue& v) {
  const store::FieldSlot* slot = r.layout().Find(name);
  if (slot == nullptr) return Status::Ok();
  Result<EditValue> now = FieldValue(r, name);
  if (!now.ok()) return now.status();
  std::optional<EditValue> fit = As(v, screen::KindOf(*now));
  if (!fit) return Status::Invalid(name + ": a value of another kind");
  return PutFieldValue(r, name, *fit);
}

Status PutAll(store::Record& r, const Values& values) {
  for (const auto& [name, v] : values) DODU_RETURN_IF_ERROR(PutLoose(r, name, v));
  return Status::Ok();
}

// A variable of the screen (the field being edited goes through the form so
// that it shows at once). Variables the screen does not have are passed over.
Status SetVar(LookupTarget& t, const std::string& name, const EditValue& v) {
  if (t.active != nullptr && Upper(t.active->name()) == name) {
    std::optional<EditValue> fit = As(v, t.active->kind());
    if (!fit) return Status::Invalid(name + ": a value of another kind");
    return t.active->set_value(*fit);
  }
  if (t.vars == nullptr) return Status::Ok();
  Result<EditValue> now = t.vars->Get(name);
  if (!now.ok()) return now.status().code() == StatusCode::kNotFound ? Status::Ok() : now.status();
  std::optional<EditValue> fit = As(v, screen::KindOf(*now));
  if (!fit) return Status::Invalid(name + ": a value of another kind");
  return t.vars->Set(name, *fit);
}

// The field itself: the line's column when a line is edited, else the variable.
Status SetField(EntryContext& ec, LookupTarget& t, const EditValue& v) {
  const std::string f = Upper(t.field);
  if (t.line != nullptr) return WriteBrowserLine(ec, *t.line, {{f, v}});
  return SetVar(t, f, v);
}

// The income line's kind, owner and dependant as the screen is editing them.
Values IncomeOwner(EntryContext& ec, LookupTarget& t) {
  const AppendPresets& p = ec.state.presets;
  Values v{{"CPF", ec.state.cpf}};
  if (!p.income_kind.empty()) v.push_back({"I1_1", p.income_kind});
  if (!p.titular.empty()) v.push_back({"I1_11", p.titular});
  if (p.titular == "N") {
    std::string dep = p.dependant_cpf;
    if (t.vars != nullptr) {
      Result<EditValue> g = t.vars->Get("CPFDEPEN");
      if (g.ok() && std::holds_alternative<std::string>(*g))
        dep = Trimmed(std::get<std::string>(*g));
    }
    v.push_back({"I1_8", dep});
  }
  return v;
}

RegisterOrder CurrentRegisterOrder(EntryContext& ec) {
  store::WorkArea* reg = ec.areas.Get(kRegisterArea);
  if (reg == nullptr) return RegisterOrder::kName;
  switch (reg->active_order()) {
    case 1:
      return RegisterOrder::kCpf;
    case 3:
      return RegisterOrder::kStatus;
    default:
      return RegisterOrder::kName;
  }
}

}  // namespace

Status WriteBrowserLine(EntryContext& ec, RecordBrowser& b, const Values& values) {
  std::optional<store::RecNo> n = b.current_recno();
  const bool fresh = !n.has_value();
  if (fresh) {
    DODU_ASSIGN_OR_RETURN(store::RecNo made, b.NewRecord());
    n = made;
  }
  Status st = ChangeRecord(ec, b.area(), *n, [&](store::Record& r) { return PutAll(r, values); });
  if (fresh) b.area().table().UnlockRecord(*n);
  DODU_RETURN_IF_ERROR(st);
  return b.FRESHORDER(*n);
}

Result<store::RecNo> AppendLine(EntryContext& ec, store::WorkArea& area, const Values& values) {
  DODU_ASSIGN_OR_RETURN(store::RecNo n, ADIC_REG(ec, area, 0));
  Status st = ChangeRecord(ec, area, n, [&](store::Record& r) { return PutAll(r, values); });
  area.table().UnlockRecord(n);
  DODU_RETURN_IF_ERROR(st);
  return n;
}

bool FieldLookups::Has(std::string_view field) const {
  LookupTarget t;
  t.field = std::string(field);
  return FindLookup(t).has_value();
}

Result<bool> FieldLookups::Open(screen::VariableStore& vars, screen::ActiveField& field) {
  LookupTarget t;
  t.field = field.name();
  t.vars = &vars;
  t.active = &field;
  return GERAL(t);
}

Result<int> FieldLookups::GERAL2(LookupList& list, std::string_view code_field) {
  DODU_ASSIGN_OR_RETURN(std::optional<LookupPick> pick, HBROWSE(ec_, list));
  if (!pick) return 0;
  Result<core::Decimal> d = pick->record.GetNumber(code_field);
  if (d.ok()) return static_cast<int>(d->ToScaled(0));
  std::optional<EditValue> n =
      As(ValueOf(pick->record, std::string(code_field).c_str()), EditKind::kNumber);
  return n ? static_cast<int>(std::get<core::Decimal>(*n).ToScaled(0)) : 0;
}

Result<bool> FieldLookups::GERAL(LookupTarget& t) {
  if (LookupListOpen()) return false;
  std::optional<LookupConfig> cfg = FindLookup(t);
  if (!cfg) return false;

  if (cfg->register_list) {
    RegisterListRequest req;
    req.order = CurrentRegisterOrder(ec_);
    req.short_list = t.mode == 1;
    DODU_ASSIGN_OR_RETURN(std::optional<RegisterPick> pick,
                          RegisterList(ec_, req, hooks_.register_list));
    if (!pick) return false;
    DODU_ASSIGN_OR_RETURN(store::Record line, ec_.areas.Get(kRegisterArea)->Current());
    return Apply(t, *cfg, LookupPick{ec_.areas.Get(kRegisterArea)->recno(), std::move(line)});
  }

  const int before = ec_.areas.current();
  int area = cfg->area;
  // Municipalities: the list of the other installation when the caller opened it.
  if (cfg->table == 64 && ec_.areas.Get(94) != nullptr) area = 94;
  bool opened = false;
  if (ec_.areas.Get(area) == nullptr) {
    if (!cfg->opened_here) return false;
    Status st = store::ABERTURA(ec_.store, ec_.areas, cfg->table);
    ec_.areas.Select(before);
    // A table that is not there (or not available) shows no list.
    if (!st.ok() || ec_.areas.Get(area) == nullptr) return false;
    opened = true;
  }

  LookupList list;
  list.area = area;
  list.rect = cfg->rect;
  list.columns = cfg->columns;
  list.filter = cfg->filter;
  list.order = cfg->order;
  list.seek_by_typing = cfg->seek_by_typing;
  list.gains_window = cfg->gains;
  if (t.prepared != nullptr) {
    list = *t.prepared;
  }
  bool new_gain = false;
  if (cfg->gains) {
    list.key = [&](RecordBrowser& b, screen::Key k) {
      const bool enter = k.type == screen::KeyType::kEnter || k.type == screen::KeyType::kCtrlEnter;
      if (enter && !b.current_recno()) {
        new_gain = true;  // an empty list starts a new gain
        return KeyOutcome::kLeave;
      }
      if (k.type == screen::KeyType::kCtrl && (k.code == 'G' || k.code == 'V')) {
        if (k.code == 'G' && hooks_.delete_gain && b.current_recno()) {
          hooks_.delete_gain(t, *b.current_recno());
          (void)b.Reload();
        }
        if (k.code == 'V' && hooks_.new_gain) {
          hooks_.new_gain(t);
          (void)b.Reload();
        }
        return KeyOutcome::kHandled;
      }
      return KeyOutcome::kNotMine;
    };
    list.footers = [filter = cfg->filter](store::WorkArea& a) {
      int count = 0;
      core::Decimal taxed, untaxed, tax;
      Result<uint32_t> n = a.table().RefreshCount();
      for (uint32_t i = 1; n.ok() && i <= *n; ++i) {
        Result<store::Record> r = a.table().Read(store::RecNo{i});
        if (!r.ok() || r->deleted() || (filter && !filter(*r))) continue;
        ++count;
        if (auto v = r->GetNumber("VAL_TRIBU"); v.ok()) taxed += *v;
        if (auto v = r->GetNumber("VAL_NAOTRI"); v.ok()) untaxed += *v;
        if (auto v = r->GetNumber("VAL_IMPOSV"); v.ok()) tax += *v;
      }
      return std::vector<std::string>{std::to_string(count),
                                      "",
                                      "",
                                      core::Transform(taxed, "@Ez 9999,999.99"),
                                      core::Transform(untaxed, "@Ez 9999,999.99"),
                                      core::Transform(tax, "@Ez 9999,999.99")};
    };
  }

  Result<std::optional<LookupPick>> pick = HBROWSE(ec_, list);
  Result<bool> applied = false;
  if (pick.ok() && *pick) applied = Apply(t, *cfg, **pick);
  if (pick.ok() && new_gain && hooks_.open_gain) {
    hooks_.open_gain(t, std::nullopt);
    applied = true;
  }
  if (opened || cfg->close_after) ec_.areas.Close(area);
  ec_.areas.Select(before);
  if (!pick.ok()) return pick.status();
  // A line that could not be locked: the lock's box has said so, nothing written.
  if (!applied.ok() && applied.status().IsLocked()) return false;
  return applied;
}

Result<bool> FieldLookups::Apply(LookupTarget& t, const LookupConfig& cfg, const LookupPick& pick) {
  const std::string f = Upper(t.field);
  const store::Record& r = pick.record;
  auto field = [&](const EditValue& v) { return SetField(ec_, t, v); };
  auto var = [&](const char* name, const EditValue& v) { return SetVar(t, name, v); };

  if (cfg.register_list) {
    const EditValue cpf = ValueOf(r, "CPF");
    if (f == "CPF1" || f == "CPF2") {
      DODU_RETURN_IF_ERROR(field(cpf));
    } else if (f == "CPFEMAIL") {
      DODU_RETURN_IF_ERROR(field(cpf));
      if (hooks_.email) hooks_.email(t, r);
    } else if (f == "DIRCONJU") {
      DODU_RETURN_IF_ERROR(var("CPFCONJU", cpf));
    } else {
      DODU_RETURN_IF_ERROR(var("CPF", cpf));
      if (hooks_.selected) hooks_.selected({TextOf(r, "CPF"), TextOf(r, "NOMECONTR")});
    }
    return true;
  }
  if (f == "CPFSAC") {
    DODU_RETURN_IF_ERROR(var("CPFSAC", ValueOf(r, "CPF")));
    DODU_RETURN_IF_ERROR(var("NOMESAC", TextOf(r, "NOMECONTR").substr(0, 30)));
    DODU_RETURN_IF_ERROR(var("VALORDOC", ValueOf(r, "VALOREC")));
    if (hooks_.billing) hooks_.billing(t, r);
    return true;
  }
  if (f == "CGCPAGADOR") {
    DODU_RETURN_IF_ERROR(field(ValueOf(r, "I1_3")));
    return true;
  }
  if (f == "CDPRO" || f == "OCUPACAO") {
    DODU_RETURN_IF_ERROR(var("CDPRO", ValueOf(r, "CDPRO")));
    DODU_RETURN_IF_ERROR(var("OCUPACAO", ValueOf(r, "OCUPACAO")));
    return true;
  }
  if (f == "CODAT" || f == "DESCRAT") {
    DODU_RETURN_IF_ERROR(var("CODAT", ValueOf(r, "CODAT")));
    DODU_RETURN_IF_ERROR(var("DESCRAT", ValueOf(r, "DESCRAT")));
    return true;
  }
  if (cfg.table == 3) {
    const EditValue dep = ValueOf(r, "CPFDEPEN");
    if (f == "NROBEN2") return true;
    if (f == "I1_8") {
      Values v = IncomeOwner(ec_, t);
      std::erase_if(v, [](const auto& p) { return p.first == "I1_8"; });
      v.push_back({"I1_8", dep});
      DODU_RETURN_IF_ERROR(WriteBrowserLine(ec_, *t.line, v));
      DODU_RETURN_IF_ERROR(var("CPFDEPEN", dep));
      return true;
    }
    DODU_RETURN_IF_ERROR(field(dep));
    return true;
  }
  if (cfg.table == 55) {
    const EditValue name = ValueOf(r, "NOMEBAN");
    if (f == "I1_2" || f == "I1_3") {
      // The taxpayer and the income kind; who owns the line stays as it is.
      Values v{{"CPF", ec_.state.cpf}};
      if (!ec_.state.presets.income_kind.empty()) {
        v.push_back({"I1_1", ec_.state.presets.income_kind});
      }
      v.push_back({"I1_2", name});
      v.push_back({"I1_3", ValueOf(r, "CNPJBAN")});
      DODU_RETURN_IF_ERROR(WriteBrowserLine(ec_, *t.line, v));
      return true;
    }
    if (f == "NRO_BANCO" || f == "NOM_BANCO") {
      DODU_RETURN_IF_ERROR(WriteBrowserLine(ec_, *t.line,
                                            {{"NRO_BANCO", ValueOf(r, "NUMBAN")},
                                             {"NOM_BANCO", TextOf(r, "NOMEBAN").substr(0, 30)},
                                             {"PAIS_CTA", std::string("BR ")}}));
      return true;
    }
    DODU_RETURN_IF_ERROR(field(ValueOf(r, "NUMBAN")));
    if (f == "NROBANCO") {
      DODU_RETURN_IF_ERROR(var("REG_AVI", TextOf(r, "NOMEBAN").substr(0, 30)));
      const std::string cnpj = TextOf(r, "CNPJBAN");
      if (!cnpj.empty()) DODU_RETURN_IF_ERROR(var("CPF_CNPJ", core::TiraPonto(cnpj)));
    }
    return true;
  }
  if (f == "LISTABANCO") {
    Values v{{"REG_AVI", ValueOf(r, "NOME")}};
    bool abroad = false;
    if (t.line != nullptr) {
      Result<store::Record> asset = t.line->CurrentRecord();
      abroad = asset.ok() && TextOf(*asset, "I7_7") == "S";
    } else if (t.vars != nullptr) {
      Result<EditValue> g = t.vars->Get("I7_7");
      abroad = g.ok() && std::holds_alternative<std::string>(*g) &&
               Trimmed(std::get<std::string>(*g)) == "S";
    }
    if (!abroad) v.push_back({"CPF_CNPJ", ValueOf(r, "CNPJ")});
    if (t.line != nullptr) {
      DODU_RETURN_IF_ERROR(WriteBrowserLine(ec_, *t.line, v));
    } else {
      for (const auto& [name, value] : v) DODU_RETURN_IF_ERROR(SetVar(t, name, value));
    }
    return true;
  }
  if (f == "CODIGOA") {
    if (t.line != nullptr) {
      DODU_RETURN_IF_ERROR(WriteBrowserLine(ec_, *t.line, {{"CODIGO", ValueOf(r, "CODBEM")}}));
    } else {
      DODU_RETURN_IF_ERROR(var("CODIGO", ValueOf(r, "CODBEM")));
    }
    return true;
  }
  if (f == "AUXPAG") {
    store::WorkArea* pay = ec_.areas.Get(kPaymentsCopy);
    if (pay == nullptr) return Status::NotFound("the payments work copy is not open");
    DODU_ASSIGN_OR_RETURN(store::RecNo n, AppendLine(ec_, *pay,
                                                     {{"I6_1", ValueOf(r, "NOME")},
                                                      {"I6_2", ValueOf(r, "CGCCPF")},
                                                      {"I6_3", ValueOf(r, "CODIGO")}}));
    if (t.line != nullptr && &t.line->area() == pay) DODU_RETURN_IF_ERROR(t.line->FRESHORDER(n));
    return true;
  }
  if (f == "AUXFON") {
    store::WorkArea* income = ec_.areas.Get(kIncomeCopy);
    if (income == nullptr) return Status::NotFound("the income work copy is not open");
    Values v = IncomeOwner(ec_, t);
    v.push_back({"I1_2", ValueOf(r, "NOME")});
    v.push_back({"I1_3", ValueOf(r, "CGCCPF")});
    DODU_ASSIGN_OR_RETURN(store::RecNo n, AppendLine(ec_, *income, v));
    if (t.line != nullptr && &t.line->area() == income) DODU_RETURN_IF_ERROR(t.line->FRESHORDER(n));
    return true;
  }
  if (cfg.table == 64) {
    const std::string name = TextOf(r, "NOMEMUNI");
    if (t.editing_state) {
      // The states' lines read "SP - São Paulo": the two letters go into UF.
      if (name.size() >= 4 && name[3] == '-') DODU_RETURN_IF_ERROR(var("UF", name.substr(0, 2)));
      return true;
    }
    if (f == "MUNICIPIO") {
      DODU_RETURN_IF_ERROR(var("MUNICIPIO", name));
      DODU_RETURN_IF_ERROR(var("CODMUNI", ValueOf(r, "NROMUNI")));
    } else if (f == "MUNICIMO" && t.line != nullptr) {
      DODU_RETURN_IF_ERROR(
          WriteBrowserLine(ec_, *t.line, {{"MUNICIMO", name}, {"CODMIMO", ValueOf(r, "NROMUNI")}}));
    } else if (f == "DISTR_IMR") {
      const EditValue code = ValueOf(r, "CODCID");
      DODU_RETURN_IF_ERROR(var("DISTR_IMR", name));
      DODU_RETURN_IF_ERROR(var("CODM_IMR", code));
      if (store::WorkArea* id = ec_.areas.Get(kRuralIdentificationCopy);
          id != nullptr && !id->eof()) {
        DODU_RETURN_IF_ERROR(ChangeRecord(ec_, *id, id->recno(), [&](store::Record& rec) {
          return PutAll(rec, {{"DISTR_IMR", name}, {"CODM_IMR", code}});
        }));
      }
    } else {
      DODU_RETURN_IF_ERROR(field(name));
    }
    return true;
  }
  if (f == "CIDDOA") {
    DODU_RETURN_IF_ERROR(var("CIDDOA", ValueOf(r, "CIDADE")));
    DODU_RETURN_IF_ERROR(var("CNJPDOA", ValueOf(r, "CNPJ")));
    return true;
  }
  if (f == "CDCONTA") {
    DODU_RETURN_IF_ERROR(field(ValueOf(r, "CDCONTA")));
    if (hooks_.ledger_account) hooks_.ledger_account(t, r);
    return true;
  }
  if (cfg.gains) {
    if (hooks_.open_gain) hooks_.open_gain(t, pick.recno);
    return true;
  }
  if (f == "I3_04" || f == "I4_02") return true;

  // The code lists: the chosen code (or name) into the field.
  static const std::pair<int, const char*> kCodeOf[] = {
      {47, "CODDEP"},  {46, "CODBEM"}, {48, "CODDIV"}, {49, "CODDES"},    {50, "DIRETOR"},
      {60, "CODPAIS"}, {61, "CD_EX"},  {66, "COD"},    {65, "NOMELOGRA"}, {77, "NOME"}};
  for (const auto& [table, code] : kCodeOf) {
    if (cfg.table == table) {
      DODU_RETURN_IF_ERROR(field(ValueOf(r, code)));
      return true;
    }
  }
  return false;
}

}  // namespace dodu::entry
