#include "shell/declaration_session.h"

#include <algorithm>
#include <numeric>

#include "core/codepage.h"
#include "core/picture.h"
#include "core/text_helpers.h"
#include "core/time_helpers.h"
#include "platform/paths.h"
#include "shell/internal/declaration_tables.h"
#include "store/opener.h"
#include "store/rec_lock.h"
#include "store/table.h"

namespace dodu::shell {
namespace {

using core::Decimal;
using store::Record;
using store::WorkArea;

constexpr int kRuralArea = 35;
constexpr int64_t kSixDigits = 999999;

using internal::Mm;
using internal::Whole;

std::string RuralKey(std::string_view cpf, std::string_view activity) {
  std::string k(cpf.substr(0, 11));
  k.resize(11, ' ');
  return k + std::string(activity.substr(0, 1));
}

}  // namespace

DeclarationSession::DeclarationSession(store::OpenerContext& ctx, store::WorkAreas& areas,
                                       SessionSettings settings, DeclarationHooks& hooks,
                                       SessionDisplay& display)
    : ctx_(ctx), areas_(areas), settings_(std::move(settings)), hooks_(hooks), display_(display) {
  for (auto& row : rec_mensal_) row.fill(std::string());
  for (auto& row : rend_rural_) row.fill(std::string());
}

DeclarationSession::~DeclarationSession() = default;

store::WorkArea* DeclarationSession::WorkCopy(int table_number) {
  if (table_number < 1 || table_number > 21 || table_number == 13) return nullptr;
  return areas_.Get(table_number + 20);
}

int64_t DeclarationSession::VETEMPO() {
  const int64_t now = ctx_.env.clock().SecondsSinceMidnight();
  if (clock_off_) ini_decla_ = now;
  fim_decla_ = now;
  const int64_t used = Whole(vars_.Number("TEM_USO"));
  // TEM_USO is N(6): a total past it would make the register refuse the save.
  return std::min(used + ElapsedSeconds(ini_decla_, fim_decla_), kSixDigits);
}

Result<int64_t> DeclarationSession::VETAMHO() {
  VE_LIM_NEG(vars_);
  int64_t size = 0;
  for (int a = 21; a <= 41; ++a) {
    int64_t add = 1;
    if (WorkArea* w = areas_.Get(a)) {
      store::DbfFile& f = w->table().file();
      add += static_cast<int64_t>(f.header().record_length) * f.record_count() +
             f.header().header_length;
    }
    size = std::min(size + add, kSixDigits);
  }
  vars_.SetNumber("TAM_USO", Decimal::FromInt(size));
  if (screen_ == 7) {
    const int selected = areas_.current();
    for (auto [area, source] : {std::pair{21, DeclarationSource::kDeclaration},
                                std::pair{29, DeclarationSource::kRegister}}) {
      WorkArea* w = areas_.Get(area);
      if (w == nullptr || w->eof()) continue;
      DODU_ASSIGN_OR_RETURN(Record r, w->Current());
      DODU_RETURN_IF_ERROR(vars_.Store(source, r));
      DODU_RETURN_IF_ERROR(w->WriteCurrent(r));
    }
    areas_.Select(selected);
  }
  return size;
}

Status DeclarationSession::PRENCHEAAR(std::string_view activity) {
  catvatual_ = std::string(activity.substr(0, 1));
  DODU_RETURN_IF_ERROR(hooks_.RuralDebts(*this));
  WorkArea* w = areas_.Get(kRuralArea);
  if (w == nullptr) return Status::Invalid("the rural work copy is not open");
  const std::string cpf = vars_.Text("CPF");
  const std::string catv = catvatual_;
  DODU_ASSIGN_OR_RETURN(bool found, w->Seek(RuralKey(cpf, catvatual_)));
  if (found) {
    DODU_ASSIGN_OR_RETURN(Record r, w->Current());
    DODU_RETURN_IF_ERROR(vars_.Load(DeclarationSource::kRural, r));
  } else {
    Record r = w->table().BlankRecord();
    DODU_RETURN_IF_ERROR(r.PutText("CPF", cpf));
    DODU_RETURN_IF_ERROR(r.PutText("ATV_BRASIL", catvatual_));
    DODU_ASSIGN_OR_RETURN(store::RecNo n, w->table().Append(r));
    w->table().UnlockRecord(n);
    DODU_RETURN_IF_ERROR(w->GoTo(n));
    DODU_RETURN_IF_ERROR(vars_.Load(DeclarationSource::kRural, r));
    for (const char* f : {"I4R_04", "I4R_07", "I5_08", "I5_09", "I5_10"}) {
      vars_.SetNumber(f, Decimal());
    }
    vars_.SetText("OPT_20", "N");
    vars_.SetText("OPT_20E", "N");
  }
  vars_.SetText("CPF", cpf);
  catvatual_ = catv;
  if (catvatual_ == "S") {
    const core::Picture pic = core::Picture::Parse("@Ez 999,999,999.99");
    for (int m = 1; m <= 12; ++m) {
      rend_rural_[m - 1][0] = pic.FormatNumber(vars_.Number("I3_" + Mm(m) + "OR"));
      rend_rural_[m - 1][1] = pic.FormatNumber(vars_.Number("I3_" + Mm(m) + "OD"));
    }
  }
  return Status::Ok();
}

Status DeclarationSession::SALVE35(std::string_view activity) {
  WorkArea* w = areas_.Get(kRuralArea);
  if (w == nullptr) return Status::Invalid("the rural work copy is not open");
  const std::string act(activity.substr(0, 1));
  if (act == "S") {
    for (int m = 1; m <= 12; ++m) {
      for (int c = 0; c < 2; ++c) {
        std::optional<Decimal> v = core::CarToVal(rend_rural_[m - 1][c]);
        if (!v) return Status::Invalid("rural month " + std::to_string(m) + ": value out of range");
        vars_.SetNumber("I3_" + Mm(m) + (c == 0 ? "OR" : "OD"), *v);
      }
    }
  }
  DODU_ASSIGN_OR_RETURN(bool found, w->Seek(RuralKey(vars_.Text("CPF"), act)));
  Record r = w->table().BlankRecord();
  store::RecNo n{0};
  if (found) {
    n = w->recno();
    DODU_ASSIGN_OR_RETURN(r, w->Current());
  }
  DODU_RETURN_IF_ERROR(vars_.StoreRural(r, act));
  if (found) return w->WriteCurrent(r);
  DODU_ASSIGN_OR_RETURN(n, w->table().Append(r));
  w->table().UnlockRecord(n);
  return w->GoTo(n);
}

std::optional<SaveReport> DeclarationSession::SAL_DEC() {
  const int status = Whole(vars_.Number("ESTATUS"));
  if (settings_.statrava >= 0 && status == settings_.statrava) {
    display_.ErrorBox({core::Cp850("Declaração com Status de proteção contra alteração."),
                       "Configurado para n" + core::Cp850("ã") + "o salvar qualquer modifica" +
                           core::Cp850("ção") + "!",
                       "Se desejar salvar mude o Status na tela F11"});
    return std::nullopt;
  }
  if (settings_.temp_sal >= 98) return std::nullopt;
  const int selected = areas_.current();
  std::optional<store::RecNo> record;
  if (WorkArea* w = areas_.Get(selected); w != nullptr && !w->eof()) record = w->recno();
  SaveReport report = SaveAll(SaveMode::kPartial);
  if (report.ok()) sem_salv_ = core::SegHora(ctx_.env.clock().SecondsSinceMidnight());
  areas_.Select(selected);
  if (WorkArea* w = areas_.Get(selected); w != nullptr && record) (void)w->GoTo(*record);
  return report;
}

// ---- free functions -----------------------------------------------------------

std::string WorkCopyName(int table_number, const std::string& terminal) {
  return "TMP_" + Mm(table_number) + terminal;
}

bool RecoveryNeedsWarning(std::string_view register_nusuat, std::string_view terminal) {
  auto trim = [](std::string_view s) {
    size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return std::string_view();
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
  };
  std::string_view n = trim(register_nusuat);
  return n.empty() || n != trim(terminal);
}

bool RecoveryFilesExist(const store::OpenerContext& ctx) {
  for (int n : {9, 1}) {
    if (!platform::ResolveExisting(ctx.env, internal::WorkCopyPath(ctx, n)).ok()) return false;
  }
  return true;
}

bool RecoveryFilesExist(store::OpenerContext& ctx, std::string_view cpf) {
  if (!RecoveryFilesExist(ctx)) return false;
  Result<std::string> path = platform::ResolveExisting(ctx.env, internal::WorkCopyPath(ctx, 9));
  if (!path.ok()) return false;
  Result<std::unique_ptr<store::Table>> t =
      store::Table::Open(ctx.env, *path, store::Sharing::kShared, {.read_only = true});
  if (!t.ok()) return false;
  Result<Record> first = (*t)->Read(store::RecNo{1});
  if (!first.ok()) return false;
  Result<std::string> c = first->GetText("CPF");
  return c.ok() && internal::Trimmed(*c) == internal::Trimmed(cpf);
}

int64_t ElapsedSeconds(int64_t start, int64_t end) {
  return end >= start ? end - start : end + 86400 - start;
}

Result<std::vector<int>> RenumberLines(const std::vector<int>& numbers) {
  const size_t n = numbers.size();
  if (n > 9999) {
    return Status::Invalid(std::to_string(n) + " lines: at most 9999 can be numbered");
  }
  std::vector<size_t> order(n);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return numbers[a] < numbers[b]; });
  // Ten apart while the last one still fits four digits, so that lines can be
  // put between them; beyond that 1..n, which never makes two lines alike.
  const int step = n * 10 <= 9999 ? 10 : 1;
  std::vector<int> out(n);
  for (size_t rank = 0; rank < n; ++rank) out[order[rank]] = static_cast<int>(rank + 1) * step;
  return out;
}

}  // namespace dodu::shell
