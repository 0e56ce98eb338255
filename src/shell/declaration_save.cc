// Saving a declaration: the register summaries computed from the work copies,
// the register record written under its lock, the work copy of table 01
// refreshed from the variables, then each shared declaration table given the
// taxpayer's records of its work copy by the store's in-place replacement.
// The register keeps this terminal in `NUSUAT` until the last table is
// replaced, so a save cut short still offers the recovery.
#include <array>
#include <optional>

#include "core/codepage.h"
#include "core/time_helpers.h"
#include "shell/declaration_session.h"
#include "shell/internal/declaration_tables.h"
#include "store/opener.h"
#include "store/rec_lock.h"
#include "store/replace.h"

namespace dodu::shell {

using core::Decimal;
using internal::Mm;
using internal::Trimmed;
using internal::Whole;
using store::RecNo;
using store::Record;
using store::WorkArea;

namespace {

Decimal NumberOf(const Record& r, std::string_view field) {
  if (r.layout().Find(field) == nullptr) return Decimal();
  Result<Decimal> v = r.GetNumber(field);
  return v.ok() ? *v : Decimal();
}

std::string TextOf(const Record& r, std::string_view field) {
  if (r.layout().Find(field) == nullptr) return std::string();
  Result<std::string> v = r.GetText(field);
  return v.ok() ? Trimmed(*v) : std::string();
}

// The live records of a work copy in record order.
Result<std::vector<std::pair<RecNo, Record>>> LiveRecords(store::Table& t) {
  std::vector<std::pair<RecNo, Record>> out;
  DODU_ASSIGN_OR_RETURN(uint32_t count, t.RefreshCount());
  for (uint32_t i = 1; i <= count; ++i) {
    DODU_ASSIGN_OR_RETURN(Record r, t.Read(RecNo{i}));
    if (!r.deleted()) out.emplace_back(RecNo{i}, std::move(r));
  }
  return out;
}

std::vector<std::string> LockRefusedBox() {
  return {core::Cp850("Registro do contribuinte não ficou disponível."),
          core::Cp850("A declaração não foi salva e continua aberta.")};
}

}  // namespace

class DeclarationSaver {
 public:
  DeclarationSaver(DeclarationSession& s, SaveMode mode)
      : s_(s), final_(mode == SaveMode::kFinal) {}

  SaveReport Run() {
    SaveReport report;
    report.not_saved = Order();
    if (!s_.open_) {
      report.status = Status::Invalid("no declaration is open");
      return report;
    }
    WorkArea* reg = s_.areas_.Get(internal::kRegisterArea);
    const bool kept_register = reg != nullptr && s_.menu_option_ == 63;
    std::optional<RecNo> reg_at;
    int reg_order = 0;
    if (kept_register) {
      if (!reg->eof()) reg_at = reg->recno();
      reg_order = reg->active_order();
    }
    const int selected = s_.areas_.current();

    report.status = Steps(report);
    if (!final_ && s_.display_open_) s_.display_.SavingWindow(false);
    s_.display_open_ = false;
    s_.display_.StatusText("");

    if (kept_register) {
      // The hand-over of every declaration walks on from where it was.
      if (WorkArea* r = s_.areas_.Get(internal::kRegisterArea)) {
        (void)r->SetOrder(reg_order);
        if (reg_at) (void)r->GoTo(*reg_at);
      }
    } else {
      s_.areas_.Close(internal::kRegisterArea);
    }
    if (report.ok() && final_) {
      store::FECHA_PROV(s_.areas_);
      s_.open_ = false;
    } else {
      s_.areas_.Select(selected);
    }
    return report;
  }

 private:
  // With rural activity tables 1 to 21, else 1 to 14 and then 20; never 9 or
  // 13 (the register is written from the variables, the ledger has no copy).
  std::vector<int> Order() const {
    const bool rural = Trimmed(s_.vars_.Text("TEMRURAL")) == "S";
    std::vector<int> out;
    for (int n = 1; n <= (rural ? 21 : 14); ++n) {
      if (n != 9 && n != 13) out.push_back(n);
    }
    if (!rural) out.push_back(20);
    return out;
  }

  Status Summaries() {
    DeclarationVars& v = s_.vars_;
    int nrcleao = 0;
    Decimal dfcleao;
    if (WorkArea* w = s_.areas_.Get(32)) {
      DODU_ASSIGN_OR_RETURN(auto records, LiveRecords(w->table()));
      for (const auto& [n, r] : records) {
        for (int m = 1; m <= 12; ++m) {
          const Decimal x = NumberOf(r, "I2_7" + Mm(m));
          if (x > Decimal()) {
            ++nrcleao;
            dfcleao += x;
          }
        }
      }
    }
    std::array<Decimal, 13> gain{}, rvar{};
    int ng = 0, nrv = 0;
    if (WorkArea* w = s_.areas_.Get(27)) {
      DODU_ASSIGN_OR_RETURN(auto records, LiveRecords(w->table()));
      for (const auto& [n, r] : records) {
        const int64_t tipo = Whole(NumberOf(r, "TIPO_BEM"));
        if (tipo != 4) {
          if (NumberOf(r, "VAL_ALI") <= NumberOf(r, "CUS_ATUAL") ||
              NumberOf(r, "VAL_TRIBU").IsZero()) {
            ++ng;
            continue;
          }
          for (int m = 1; m <= 12; ++m) {
            const Decimal due = NumberOf(r, "IMP_DEV" + Mm(m));
            gain[m] += due - NumberOf(r, "IMP_PAG" + Mm(m));
            if (due > Decimal()) ++ng;
          }
        } else {
          const int64_t row = Whole(NumberOf(r, "RVAR_NRO"));
          if (row <= 24 || !TextOf(r, "DAY_TRADE").empty()) continue;
          for (int m = 1; m <= 12; ++m) {
            const Decimal x = NumberOf(r, "REC_MES" + Mm(m));
            if (row == 25) {
              rvar[m] += x;
              if (x > Decimal()) ++nrv;
            } else {
              rvar[m] -= x;
            }
          }
        }
      }
    }
    int nrg = 0, nrr = 0;
    Decimal dfg, dfr;
    for (int m = 1; m <= 12; ++m) {
      if (gain[m] > Decimal()) {
        dfg += gain[m];
        ++nrg;
      }
      if (rvar[m] > Decimal()) {
        dfr += rvar[m];
        ++nrr;
      }
    }
    // Operations without tax to pay are told from no operations at all.
    if (nrg == 0 && ng > 0) nrg = -1;
    if (nrr == 0 && nrv > 0) nrr = -1;
    v.SetNumber("NRCLEAO", Decimal::FromInt(nrcleao));
    v.SetNumber("DFCLEAO", dfcleao);
    v.SetNumber("NRGCAPIT", Decimal::FromInt(nrg));
    v.SetNumber("DFGCAPIT", dfg);
    v.SetNumber("NRRVARIV", Decimal::FromInt(nrr));
    v.SetNumber("DFRVARIV", dfr);
    v.SetNumber("NRQUOTA", v.Number("QTD_QUOTA"));
    v.SetNumber("DFQUOTA", v.Number("I13_37"));
    return Status::Ok();
  }

  Status OpenRegister() {
    WorkArea* reg = s_.areas_.Get(internal::kRegisterArea);
    if (reg != nullptr && s_.menu_option_ == 63) return reg->SetOrder(1);
    return internal::OpenRegister(s_.ctx_, s_.areas_);
  }

  Status AppendUsageLog(const std::string& start, const std::string& end, int64_t elapsed) {
    store::OpenerContext& ctx = s_.ctx_;
    DODU_RETURN_IF_ERROR(internal::OpenSharedBriefly(
        ctx, [&](store::OpenerContext& c) { return store::ABERTURA(c, s_.areas_, 73); }));
    WorkArea* log = s_.areas_.Get(73);
    if (log == nullptr) return Status::NotFound("the usage log did not open");
    Status st = store::ADD_REC(ctx, *log, 5);
    if (st.ok()) {
      Record r = log->table().BlankRecord();
      const platform::CivilTime today = ctx.env.clock().Today();
      st = r.PutText("NOMEAG", s_.settings_.operator_name);
      if (st.ok()) st = r.PutText("CPF", s_.cpf_);
      if (st.ok()) st = r.PutText("NOMECONTR", s_.vars_.Text("NOMECONTR"));
      if (st.ok())
        st = r.PutDate(
            "DATAUSO",
            core::Date::FromYmd(today.year, today.month, today.day).value_or(core::Date()));
      if (st.ok()) st = r.PutText("INIUSO", start);
      if (st.ok()) st = r.PutText("FIMUSO", end);
      if (st.ok()) st = r.PutText("TEMUSO", core::SegHora(elapsed));
      if (st.ok()) st = log->WriteCurrent(r);
      log->table().UnlockRecord(log->recno());
    }
    s_.areas_.Close(73);
    return st;
  }

  // Step 7: the register record from the variables, under its lock.
  Status WriteRegister() {
    store::OpenerContext& ctx = s_.ctx_;
    DeclarationVars& v = s_.vars_;
    DODU_RETURN_IF_ERROR(OpenRegister());
    WorkArea& reg = *s_.areas_.Get(internal::kRegisterArea);
    if (Status st = internal::PrepRegWithRetries(ctx, reg, s_.cpf_, s_.settings_.lock_attempts);
        !st.ok()) {
      if (!st.IsCancelled()) s_.display_.ErrorBox(LockRefusedBox());
      return st;
    }
    const int64_t start = s_.ini_decla_;
    const int64_t temgast = s_.VETEMPO();
    const int64_t end = s_.fim_decla_;
    const Decimal old_tem_uso = v.Number("TEM_USO");
    v.SetNumber("TEM_USO", Decimal::FromInt(temgast));
    VE_LIM_NEG(v);
    // Until every table is replaced the register says the declaration is open
    // here; the final save clears it as its last step.
    v.SetText("NUSUAT", ctx.terminal);
    Status st = Status::Ok();
    Result<Record> cur = reg.Current();
    Record r = cur.ok() ? *cur : reg.table().BlankRecord();
    st = cur.status();
    if (st.ok()) st = v.Store(DeclarationSource::kRegister, r);
    if (st.ok()) st = r.PutText("CPF", s_.cpf_);
    if (st.ok()) st = r.PutNumber("I13_27", v.Number("I13_27") + v.Number("I13_28"));
    if (st.ok()) st = r.PutNumber("I13_35", v.Number("I13_35") - v.Number("I13_34"));
    if (st.ok()) st = reg.WriteCurrent(r);
    reg.table().UnlockRecord(reg.recno());
    if (!st.ok()) {
      v.SetNumber("TEM_USO", old_tem_uso);
      return st;
    }
    s_.ini_decla_ = ctx.env.clock().SecondsSinceMidnight();
    if (final_) {
      DODU_RETURN_IF_ERROR(
          AppendUsageLog(core::SegHora(start), core::SegHora(end), ElapsedSeconds(start, end)));
    }
    return Status::Ok();
  }

  // Step 8: the variables into the work copy of table 01; its replacement
  // carries them to the shared table with the others.
  Status WriteDeclarationCopy() {
    WorkArea* w = s_.areas_.Get(21);
    if (w == nullptr) return Status::Invalid("the work copy of table 01 is not open");
    const RecNo at = w->recno();
    DODU_RETURN_IF_ERROR(w->Top());
    Record r = w->table().BlankRecord();
    const bool found = !w->eof();
    if (found) {
      DODU_ASSIGN_OR_RETURN(r, w->Current());
    }
    DODU_RETURN_IF_ERROR(s_.vars_.Store(DeclarationSource::kDeclaration, r));
    DODU_RETURN_IF_ERROR(r.PutText("CPF", s_.cpf_));
    if (found) {
      DODU_RETURN_IF_ERROR(w->WriteCurrent(r));
      if (at.value != 0) DODU_RETURN_IF_ERROR(w->GoTo(at));
      return Status::Ok();
    }
    DODU_ASSIGN_OR_RETURN(RecNo n, w->table().Append(r));
    w->table().UnlockRecord(n);
    return w->GoTo(n);
  }

  // Step 3 of SALVA_PARC: assets and debts renumbered, the seller's CPF of the
  // capital gains filled in.
  Status Prepare(int n, WorkArea& w) {
    if (n == 15) return s_.SALVE35(s_.catvatual_);
    if (n != 4 && n != 5 && n != 7) return Status::Ok();
    DODU_ASSIGN_OR_RETURN(auto records, LiveRecords(w.table()));
    if (n == 7) {
      for (auto& [recno, r] : records) {
        if (!TextOf(r, "CPFALIEN").empty() || Whole(NumberOf(r, "TIPO_BEM")) == 4) continue;
        DODU_ASSIGN_OR_RETURN(std::string cpf, r.GetText("CPF"));
        DODU_RETURN_IF_ERROR(r.PutText("CPFALIEN", cpf));
        DODU_RETURN_IF_ERROR(w.table().Write(recno, r));
      }
      return Status::Ok();
    }
    const char* field = n == 4 ? "I7_0" : "I8_0";
    std::vector<int> numbers;
    for (const auto& [recno, r] : records)
      numbers.push_back(static_cast<int>(Whole(NumberOf(r, field))));
    Result<std::vector<int>> renumbered = RenumberLines(numbers);
    if (!renumbered.ok()) {
      s_.display_.ErrorBox({core::Cp850("Mais de 9999 linhas em IMP") + Mm(n) + ".",
                            core::Cp850("A declaração não foi salva e continua aberta.")});
      return renumbered.status();
    }
    if (*renumbered == numbers) return Status::Ok();
    // Renumbered all at once: a renumbering cut short and run again from its
    // half would rank the lines differently.
    std::vector<Record> lines;
    for (size_t i = 0; i < records.size(); ++i) {
      Record& r = records[i].second;
      DODU_RETURN_IF_ERROR(r.PutNumber(field, Decimal::FromInt((*renumbered)[i])));
      lines.push_back(std::move(r));
    }
    return internal::RewriteWorkCopy(s_.ctx_, s_.areas_, n, lines);
  }

  // SALVA_PARC(n): the taxpayer's records of shared table n replaced by the
  // live records of its work copy.
  Status SALVA_PARC(int n) {
    store::OpenerContext& ctx = s_.ctx_;
    WorkArea* w = s_.areas_.Get(n + 20);
    if (w == nullptr) return Status::Invalid("the work copy of table " + Mm(n) + " is not open");
    const RecNo at = w->recno();
    DODU_RETURN_IF_ERROR(Prepare(n, *w));
    w = s_.areas_.Get(n + 20);  // a renumbering reopens the copy
    const int area = n == 21 ? internal::kSaveScratchArea : n;
    DODU_RETURN_IF_ERROR(internal::OpenDeclarationTableWaiting(
        ctx, s_.areas_, n, area, internal::WaitKind::kSave, s_.settings_.save_ask_after_ms));
    s_.display_.StatusText("Salvando IMP" + Mm(n));
    WorkArea& shared = *s_.areas_.Get(area);
    Status st = Status::Ok();
    std::vector<Record> records;
    Result<std::vector<std::pair<RecNo, Record>>> live = LiveRecords(w->table());
    st = live.status();
    if (st.ok()) {
      for (const auto& [recno, r] : *live) {
        Record c = internal::ConvertRecord(r, shared.table().shared_layout());
        // Every line of the copy belongs to the taxpayer, whatever a screen left in it.
        st = c.PutText("CPF", s_.cpf_);
        if (!st.ok()) break;
        records.push_back(std::move(c));
      }
    }
    if (st.ok()) st = store::ReplaceTaxpayerRecords(ctx.env, shared, s_.cpf_, records).status();
    s_.areas_.Close(area);
    s_.display_.StatusText("");
    if (at.value != 0) {
      (void)w->GoTo(at);
    } else {
      (void)w->Top();
    }
    return st;
  }

  Status ClearMark() {
    store::OpenerContext& ctx = s_.ctx_;
    WorkArea& reg = *s_.areas_.Get(internal::kRegisterArea);
    DODU_ASSIGN_OR_RETURN(bool found, reg.Seek(s_.cpf_));
    if (!found) return Status::NotFound("taxpayer " + s_.cpf_ + " left the register");
    if (Status st = internal::LockWithRetries(ctx, reg, s_.settings_.lock_attempts); !st.ok()) {
      if (!st.IsCancelled()) s_.display_.ErrorBox(LockRefusedBox());
      return st;
    }
    Result<Record> r = reg.Current();
    Status st = r.status();
    if (st.ok()) st = r->PutText("NUSUAT", "  ");
    if (st.ok()) st = reg.WriteCurrent(*r);
    reg.table().UnlockRecord(reg.recno());
    if (st.ok()) s_.vars_.SetText("NUSUAT", "  ");
    return st;
  }

  Status Steps(SaveReport& report) {
    DeclarationSession& s = s_;
    s.display_.ProgressReset();
    DODU_RETURN_IF_ERROR(s.VETAMHO().status());
    DODU_RETURN_IF_ERROR(s.hooks_.BALANCO(s));
    if (final_) {
      s.display_.FrameText("Salvando Dados..");
    } else {
      s.display_.SavingWindow(true);
      s.display_open_ = true;
    }
    DODU_RETURN_IF_ERROR(Summaries());
    DODU_RETURN_IF_ERROR(s.hooks_.CALC(s, 7, 0));
    DODU_RETURN_IF_ERROR(WriteRegister());
    DODU_RETURN_IF_ERROR(WriteDeclarationCopy());
    report.register_saved = true;
    std::vector<int> todo = report.not_saved;
    for (size_t i = 0; i < todo.size(); ++i) {
      if (Status st = SALVA_PARC(todo[i]); !st.ok()) {
        report.not_saved.assign(todo.begin() + static_cast<long>(i), todo.end());
        return st;
      }
      report.saved.push_back(todo[i]);
      s.display_.ProgressAdd(2);
    }
    report.not_saved.clear();
    if (!final_) return Status::Ok();
    DODU_RETURN_IF_ERROR(ClearMark());
    const int64_t status = Whole(s.vars_.Number("ESTATUS"));
    if (s.settings_.opttran == 1 || (s.settings_.opttran == 2 && status == s.settings_.soeste)) {
      s.display_.InfoText("Transferindo os dados para o programa da Receita....");
      report.hand_over = s.hooks_.HandOver(s);
      s.display_.InfoText("");
    }
    return Status::Ok();
  }

  DeclarationSession& s_;
  bool final_;
};

SaveReport DeclarationSession::SaveAll(SaveMode mode) {
  return DeclarationSaver(*this, mode).Run();
}

Status DeclarationSession::Discard() {
  if (!open_) return Status::Ok();
  Status st = Status::Ok();
  // During the hand-over of every declaration the register is walked by the
  // caller and no declaration was marked.
  if (menu_option_ != 63) {
    st = internal::OpenRegister(ctx_, areas_);
    WorkArea* reg = areas_.Get(internal::kRegisterArea);
    if (st.ok() && reg != nullptr) {
      // Only a record the seek found (a new taxpayer never saved has none), and
      // only while it names this terminal: another station may have the
      // declaration open now.
      Result<bool> found = reg->Seek(cpf_);
      st = found.status();
      if (st.ok() && *found) {
        Result<Record> r = reg->Current();
        st = r.status();
        if (st.ok() && Trimmed(*r->GetText("NUSUAT")) == Trimmed(ctx_.terminal)) {
          st = internal::LockWithRetries(ctx_, *reg, settings_.lock_attempts);
          if (st.ok()) {
            r = reg->Current();  // as it is under the lock
            st = r.status();
            if (st.ok()) st = r->PutText("NUSUAT", "  ");
            if (st.ok()) st = reg->WriteCurrent(*r);
            reg->table().UnlockRecord(reg->recno());
          }
        }
      }
    }
    areas_.Close(internal::kRegisterArea);
  }
  store::FECHA_PROV(areas_);
  open_ = false;
  return st;
}

}  // namespace dodu::shell
