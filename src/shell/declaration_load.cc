// Loading a declaration: the variables reset, the register and table 01 read,
// the taxpayer's live records copied into fresh work copies (or, in a
// recovery, the work copies left on disk taken as they are), the grids filled,
// the computations run and the register marked with this terminal.
#include <optional>

#include "core/codepage.h"
#include "core/picture.h"
#include "core/time_helpers.h"
#include "shell/declaration_session.h"
#include "shell/internal/declaration_tables.h"
#include "store/opener.h"
#include "store/rec_lock.h"

namespace dodu::shell {

using core::Decimal;
using internal::Mm;
using internal::Trimmed;
using internal::Whole;
using store::Record;
using store::WorkArea;

class DeclarationLoader {
 public:
  DeclarationLoader(DeclarationSession& s, const LoadRequest& req) : s_(s), req_(req) {}

  Status Run() {
    Status st = Steps();
    if (!st.ok()) {
      // Nothing half-loaded stays open; the work copies stay on disk.
      store::FECHA_PROV(s_.areas_);
      s_.areas_.Close(internal::kRecoveryDeclarationArea);
      s_.areas_.Close(1);
      if (req_.menu_option != 63) s_.areas_.Close(internal::kRegisterArea);
      s_.open_ = false;
    }
    return st;
  }

 private:
  bool recovery() const { return req_.kind == LoadKind::kRecovery; }
  bool fresh() const { return req_.kind == LoadKind::kNew; }

  void LIMPVAR() {
    DeclarationVars& v = s_.vars_;
    const std::string name = v.Text("NOMECONTR");
    v.Clear();
    v.SetText("CPF", req_.cpf);
    v.SetText("NOMEAG", s_.settings_.operator_name);
    if (!fresh()) v.SetText("NOMECONTR", name);
    auto number = [&](const char* n, int x) {
      if (v.Has(n)) v.SetNumber(n, Decimal::FromInt(x));
    };
    auto text = [&](const char* n, const char* x) {
      if (v.Has(n)) v.SetText(n, x);
    };
    auto flag = [&](const char* n, bool x) {
      if (!v.Has(n)) return;
      if (v.Type(n) == core::ValueType::kLogical) {
        v.SetLogical(n, x);
      } else {
        v.SetText(n, x ? "S" : "N");
      }
    };
    number("ESTATUS", 2);
    text("I9_4", "N");
    text("I9_5", "N");
    text("I9_6", "S");
    text("EBRASIL", "S");
    text("EXTERIOR", "N");
    text("TEMRURAL", "N");
    text("E_INVALIDO", "N");
    number("CAL_AUTO", 1);
    text("USAPADRAO", "S");
    text("SO_SIMPLES", "S");
    flag("SO_REC", true);
    flag("NEW1", true);
    flag("NOVREG", false);
    number("INDALERTA", 10);
    text("NUSUAT", "  ");
    for (int r = 0; r < 13; ++r) {
      for (int c = 1; c <= 7; ++c) s_.rec_mensal_[r][c] = std::string(11, ' ');
    }
    s_.catvatual_ = "S";
  }

  // The register record of the taxpayer: area 9's current one when the
  // selection left it there, else sought. nullopt when there is none.
  Result<std::optional<Record>> RegisterRecord() {
    WorkArea* reg = s_.areas_.Get(internal::kRegisterArea);
    if (reg != nullptr && !reg->eof()) {
      DODU_ASSIGN_OR_RETURN(Record r, reg->Current());
      DODU_ASSIGN_OR_RETURN(std::string c, r.GetText("CPF"));
      if (Trimmed(c) == Trimmed(req_.cpf) && !r.deleted()) return std::optional<Record>(r);
    }
    if (req_.menu_option == 63) return Status::Invalid("the register is not on the taxpayer");
    DODU_RETURN_IF_ERROR(internal::OpenRegister(s_.ctx_, s_.areas_));
    reg = s_.areas_.Get(internal::kRegisterArea);
    DODU_ASSIGN_OR_RETURN(bool found, reg->Seek(req_.cpf));
    if (!found) return std::optional<Record>();
    DODU_ASSIGN_OR_RETURN(Record r, reg->Current());
    return std::optional<Record>(r);
  }

  Status FirstRecord(int area, std::optional<Record>& out) {
    WorkArea* w = s_.areas_.Get(area);
    if (w == nullptr) return Status::NotFound("area " + std::to_string(area) + " is not open");
    w->hide_deleted = true;
    DODU_RETURN_IF_ERROR(w->Top());
    if (w->eof()) return Status::Ok();
    DODU_ASSIGN_OR_RETURN(Record r, w->Current());
    out = r;
    return Status::Ok();
  }

  Status ReadRegisterAndDeclaration(std::optional<Record>& declaration) {
    store::OpenerContext& ctx = s_.ctx_;
    if (recovery()) {
      DODU_RETURN_IF_ERROR(internal::OpenWorkCopyPlain(ctx, s_.areas_, 9, 29));
      std::optional<Record> reg;
      DODU_RETURN_IF_ERROR(FirstRecord(29, reg));
      s_.areas_.Close(29);
      if (!reg) return Status::NotFound(internal::WorkCopyPath(ctx, 9) + ": empty");
      // A later load of another taxpayer on this terminal has overwritten the
      // work copies: they are no recovery of this one.
      DODU_ASSIGN_OR_RETURN(std::string c, reg->GetText("CPF"));
      if (Trimmed(c) != Trimmed(req_.cpf)) {
        return Status::NotFound("the work copies of this terminal hold another taxpayer");
      }
      DODU_RETURN_IF_ERROR(s_.vars_.Load(DeclarationSource::kRegister, *reg));
      DODU_RETURN_IF_ERROR(
          internal::OpenWorkCopyPlain(ctx, s_.areas_, 1, internal::kRecoveryDeclarationArea));
      return FirstRecord(internal::kRecoveryDeclarationArea, declaration);
    }
    if (!fresh()) {
      DODU_ASSIGN_OR_RETURN(std::optional<Record> reg, RegisterRecord());
      if (!reg) return Status::NotFound("taxpayer " + req_.cpf + " is not in the register");
      DODU_RETURN_IF_ERROR(s_.vars_.Load(DeclarationSource::kRegister, *reg));
      if (req_.menu_option != 63) s_.areas_.Close(internal::kRegisterArea);
    }
    DODU_RETURN_IF_ERROR(internal::OpenDeclarationTableWaiting(
        ctx, s_.areas_, 1, 1, internal::WaitKind::kLoad, s_.settings_.save_ask_after_ms));
    WorkArea* t01 = s_.areas_.Get(1);
    DODU_ASSIGN_OR_RETURN(bool found, t01->Seek(req_.cpf));
    if (found) {
      DODU_ASSIGN_OR_RETURN(Record r, t01->Current());
      declaration = r;
    }
    return Status::Ok();
  }

  // Step 5: the records of table n copied into its fresh work copy.
  Status CopyTable(int n) {
    store::OpenerContext& ctx = s_.ctx_;
    std::vector<Record> records;
    if (n == 9 && req_.menu_option == 63) {
      WorkArea* reg = s_.areas_.Get(internal::kRegisterArea);
      const store::RecNo at = reg->recno();
      while (!reg->eof()) {
        DODU_ASSIGN_OR_RETURN(Record r, reg->Current());
        DODU_ASSIGN_OR_RETURN(std::string c, r.GetText("CPF"));
        if (Trimmed(c) != Trimmed(req_.cpf)) break;
        if (!r.deleted()) records.push_back(r);
        DODU_RETURN_IF_ERROR(reg->Skip(1));
      }
      DODU_RETURN_IF_ERROR(reg->GoTo(at));  // the hand-over walks on from here
    } else if (n == 9) {
      DODU_RETURN_IF_ERROR(internal::OpenRegister(ctx, s_.areas_));
      DODU_ASSIGN_OR_RETURN(
          records, internal::TaxpayerRecords(*s_.areas_.Get(internal::kRegisterArea), req_.cpf));
      s_.areas_.Close(internal::kRegisterArea);
    } else {
      // Area 21 belongs to the work copy of table 01 by now.
      const int area = n == 21 ? 41 : n;
      DODU_RETURN_IF_ERROR(internal::OpenDeclarationTableWaiting(
          ctx, s_.areas_, n, area, internal::WaitKind::kLoad, s_.settings_.save_ask_after_ms));
      Result<std::vector<Record>> got = internal::TaxpayerRecords(*s_.areas_.Get(area), req_.cpf);
      s_.areas_.Close(area);
      DODU_RETURN_IF_ERROR(got.status());
      records = std::move(got).value();
    }
    return internal::WriteWorkCopy(ctx, s_.areas_, n, records);
  }

  void FillMonthlyGrid() {
    const core::Picture pic = core::Picture::Parse("@Ez 9999,999.99");
    auto cell = [&](const Decimal& v) {
      return v.IsZero() ? std::string(11, ' ') : pic.FormatNumber(v);
    };
    for (int m = 1; m <= 12; ++m) {
      for (int c = 1; c <= 7; ++c)
        s_.rec_mensal_[m - 1][c] = cell(s_.vars_.Number(MonthlyFieldName(c, m)));
      s_.display_.ProgressAdd(2);
    }
    const int64_t cal_auto = Whole(s_.vars_.Number("CAL_AUTO"));
    if (cal_auto == 2 || cal_auto == 4) {
      for (int c = 1; c <= 5; ++c) {
        Decimal total;
        for (int m = 1; m <= 12; ++m) total += s_.vars_.Number(MonthlyFieldName(c, m));
        s_.rec_mensal_[12][c] = cell(total);
      }
    }
  }

  Status MarkRegister() {
    store::OpenerContext& ctx = s_.ctx_;
    DODU_RETURN_IF_ERROR(internal::OpenRegister(ctx, s_.areas_));
    WorkArea* reg = s_.areas_.Get(internal::kRegisterArea);
    DODU_ASSIGN_OR_RETURN(bool found, reg->Seek(req_.cpf));
    Status st = Status::Ok();
    if (found) {
      // A register record is never written without its lock.
      st = internal::LockWithRetries(ctx, *reg, s_.settings_.lock_attempts);
      if (st.ok()) {
        Result<Record> r = reg->Current();
        st = r.status();
        if (st.ok()) st = r->PutText("NUSUAT", ctx.terminal);
        if (st.ok()) st = reg->WriteCurrent(*r);
        reg->table().UnlockRecord(reg->recno());
      } else {
        s_.display_.ErrorBox({core::Cp850("Registro do contribuinte não ficou disponível."),
                              core::Cp850("A declaração não foi aberta.")});
      }
    }
    s_.areas_.Close(internal::kRegisterArea);
    return st;
  }

  Status Steps() {
    DeclarationSession& s = s_;
    store::OpenerContext& ctx = s.ctx_;
    s.open_ = false;
    s.cpf_ = req_.cpf;
    s.new_taxpayer_ = fresh();
    s.menu_option_ = req_.menu_option;
    s.ini_decla_ = ctx.env.clock().SecondsSinceMidnight();
    s.fim_decla_ = s.ini_decla_;
    s.sem_salv_ = core::SegHora(s.ini_decla_);
    s.display_.ProgressReset();
    s.vars_.SetText("NOMECONTR", req_.name);
    LIMPVAR();
    (void)store::ABERTURA(ctx, s.areas_, 51);  // the SELIC rates, a reference table

    std::optional<Record> declaration;
    DODU_RETURN_IF_ERROR(ReadRegisterAndDeclaration(declaration));
    if (fresh()) {
      s.display_.FrameText("Criando os dados.");
      LIMPVAR();
    } else {
      s.display_.FrameText("Reprocessando...");
      if (declaration)
        DODU_RETURN_IF_ERROR(s.vars_.Load(DeclarationSource::kDeclaration, *declaration));
    }
    s.areas_.Close(recovery() ? internal::kRecoveryDeclarationArea : 1);

    for (int n : internal::WorkCopyTables()) {
      if (!recovery()) DODU_RETURN_IF_ERROR(CopyTable(n));
      DODU_RETURN_IF_ERROR(internal::OpenWorkCopyArea(ctx, s.areas_, n));
      DODU_RETURN_IF_ERROR(s.areas_.Get(n + 20)->Top());
      s.display_.ProgressAdd(3);
    }

    std::optional<Record> monthly;
    DODU_RETURN_IF_ERROR(FirstRecord(32, monthly));
    if (monthly) DODU_RETURN_IF_ERROR(s.vars_.Load(DeclarationSource::kMonthly, *monthly));
    FillMonthlyGrid();

    if (req_.menu_option < 61 && Trimmed(s.vars_.Text("I9_4")) == "S") {
      DODU_RETURN_IF_ERROR(s.hooks_.BUSCA_CONJU(s));
    }
    for (int area : {24, 22, 27}) DODU_RETURN_IF_ERROR(s.areas_.Get(area)->Top());
    if (s.vars_.Has("DAY_TRADE")) s.vars_.SetText("DAY_TRADE", "1");
    DODU_RETURN_IF_ERROR(s.hooks_.CALC_GRV(s));
    DODU_RETURN_IF_ERROR(s.hooks_.SOMA_NTRIB(s, 0));
    DODU_RETURN_IF_ERROR(s.hooks_.BALANCO(s));
    s.areas_.Select(35);

    if (Trimmed(s.vars_.Text("TEMRURAL")) == "S") {
      DODU_RETURN_IF_ERROR(s.PRENCHEAAR(s.catvatual_));
      if (Whole(s.vars_.Number("TIPO_LANCA")) == 0) DODU_RETURN_IF_ERROR(s.hooks_.RuralTotals(s));
    } else {
      for (const char* f :
           {"TRIB_EX",  "NTRIB_EX", "PREJU_EX", "DIVAD_EX", "DIVPG_EX", "DIVAN_EX", "TRIB_BR",
            "NTRIB_BR", "PREJU_BR", "DIVAD_BR", "DIVPG_BR", "DIVAN_BR", "PREJRUR",  "AMORUR",
            "I3_11",    "I13_07",   "I4R_04",   "I4R_07",   "I5_08",    "I5_09",    "I5_10"}) {
        if (s.vars_.Has(f)) s.vars_.SetNumber(f, Decimal());
      }
    }
    DODU_RETURN_IF_ERROR(s.hooks_.CALC(s, 1, 0));
    DODU_RETURN_IF_ERROR(s.hooks_.CALC(s, 2, 0));

    if (req_.menu_option == 11) {
      if (!fresh()) DODU_RETURN_IF_ERROR(MarkRegister());
      s.vars_.SetText("NUSUAT", ctx.terminal);
    }
    s.areas_.Select(35);
    s.open_ = true;
    return Status::Ok();
  }

  DeclarationSession& s_;
  const LoadRequest& req_;
};

Status DeclarationSession::Load(const LoadRequest& request) {
  return DeclarationLoader(*this, request).Run();
}

}  // namespace dodu::shell
