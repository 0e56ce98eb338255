#include "shell/handover_station.h"

#include <cctype>
#include <memory>
#include <type_traits>
#include <variant>

#include "core/codepage.h"
#include "handover/municipality_lookup.h"
#include "handover/table_rows.h"
#include "handover/value_formats.h"
#include "platform/paths.h"
#include "screen/message_box.h"
#include "shell/internal/declaration_tables.h"
#include "store/rec_lock.h"
#include "store/table.h"
#include "tax/exercise.h"

namespace dodu::shell {
namespace {

constexpr int kQuestionStyle = 2;
constexpr int kChoiceStyle = 7;
constexpr int kErrorStyle = 8;
constexpr int kRegisterLockSeconds = 5;

// NOMPAIS of the country table of the installation folder ("" when unknown or
// unreadable: the document then carries no country name).
std::string CountryName(platform::Env& env, const std::string& folder, std::string_view code) {
  const std::string wanted(handover::Trim(code));
  if (wanted.empty()) return "";
  Result<std::string> path =
      platform::ResolveExisting(env, platform::JoinPath(folder, "TABPAIS.DBF"));
  if (!path.ok()) return "";
  store::TableOptions options;
  options.read_only = true;
  auto table = store::Table::Open(env, *path, store::Sharing::kShared, options);
  if (!table.ok()) return "";
  for (uint32_t n = 1; n <= (*table)->record_count(); ++n) {
    auto record = (*table)->Read(store::RecNo{n});
    if (!record.ok() || record->deleted()) continue;
    auto c = record->GetText("CODPAIS");
    if (!c.ok() || handover::Trim(*c) != wanted) continue;
    auto name = record->GetText("NOMPAIS");
    return name.ok() ? std::string(handover::Trim(*name)) : "";
  }
  return "";
}

Status PutValue(store::Record& r, const handover::RegisterChange& c) {
  return std::visit(
      [&](const auto& v) -> Status {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::string>) {
          return r.PutText(c.field, v);
        } else if constexpr (std::is_same_v<T, core::Decimal>) {
          return r.PutNumber(c.field, v);
        } else if constexpr (std::is_same_v<T, core::Date>) {
          return r.PutDate(c.field, v);
        } else {
          return r.PutLogical(c.field, v);
        }
      },
      c.value);
}

// The changes into the area's current record under its lock.
Status WriteChanges(store::OpenerContext& ctx, store::WorkArea& reg,
                    const std::vector<handover::RegisterChange>& changes) {
  DODU_RETURN_IF_ERROR(store::REC_LOCK(ctx, reg, kRegisterLockSeconds));
  const store::RecNo n = reg.recno();
  Status st = [&]() -> Status {
    // Read again under the lock: another station may have written it meanwhile.
    DODU_ASSIGN_OR_RETURN(store::Record r, reg.Current());
    for (const handover::RegisterChange& c : changes) DODU_RETURN_IF_ERROR(PutValue(r, c));
    return reg.WriteCurrent(r);
  }();
  reg.table().UnlockRecord(n);
  return st;
}

}  // namespace

// ---- the operator's side --------------------------------------------------------

void ToolkitHandOverDialog::TitledBox(int style, const std::vector<std::string>& lines,
                                      const std::string& title) {
  screen::AVISOSN(tk_, lines, style, {}, title);
}

void ToolkitHandOverDialog::StatusLine(const std::string& text) { tk_.SetStatusLine(text); }

void ToolkitHandOverDialog::Beep() { tk_.Beep(); }

bool ToolkitHandOverDialog::Confirm(const std::vector<std::string>& lines) {
  return screen::AVISOSN(tk_, lines, kQuestionStyle) == "S";
}

int ToolkitHandOverDialog::Choose(const std::vector<std::string>& lines) {
  const std::string answer = screen::AVISOSN(tk_, lines, kChoiceStyle);
  if (answer.size() != 1 || !std::isdigit(static_cast<unsigned char>(answer[0]))) return 0;
  return answer[0] - '0';
}

// ---- the register -----------------------------------------------------------------

Status StationRegisterWriter::Apply(const std::vector<handover::RegisterChange>& changes) {
  if (changes.empty()) return Status::Ok();
  store::WorkArea* walked = areas_.Get(internal::kRegisterArea);
  const bool opened_here = walked == nullptr;
  if (opened_here) DODU_RETURN_IF_ERROR(internal::OpenRegister(ctx_, areas_));
  store::WorkArea* reg = areas_.Get(internal::kRegisterArea);
  if (reg == nullptr) return Status::NotFound("register not open");
  const store::RecNo before = reg->recno();
  const bool was_eof = reg->eof();
  Status st = [&]() -> Status {
    DODU_ASSIGN_OR_RETURN(bool found, reg->Seek(cpf_));
    if (!found) return Status::NotFound("register record of " + cpf_);
    return WriteChanges(ctx_, *reg, changes);
  }();
  if (opened_here) {
    areas_.Close(internal::kRegisterArea);
  } else if (!was_eof) {
    // The walk of option 63 goes on from where it was.
    Status back = reg->GoTo(before);
    if (st.ok()) st = back;
  }
  return st;
}

// ---- the hand-over ----------------------------------------------------------------

Result<handover::Snapshot> StationSnapshot(Station& st, DeclarationSession& session) {
  handover::Snapshot s;
  s.cpf = session.cpf();
  s.year_suffix = st.ctx.year;
  s.now = st.env.clock().Now();
  // DDIADEBA: the first quota's automatic debit needs the declaration by 10/06.
  s.debit_deadline = *core::Date::FromYmd(tax::kExerciseYear, 6, 10);
  s.dependant_monthly_deduction = tax::kDependantPerMonth;
  s.simplified_discount_cap = tax::kSimplifiedLimit;
  platform::Env& env = st.env;
  const std::string folder = st.ctx.installation_folder;
  s.country_name = [&env, folder](std::string_view code) { return CountryName(env, folder, code); };
  s.municipality_code = [&env, folder](std::string_view name, std::string_view uf) {
    return handover::FindMunicipalityCode(env, folder, name, uf);
  };
  DODU_RETURN_IF_ERROR(handover::FillFromWorkAreas(session.areas(), s));
  return s;
}

handover::HandoverSettings StationHandoverSettings(const Station& st, int option_code) {
  handover::HandoverSettings h;
  if (!st.menu.locirpf.empty()) {
    Result<std::string> native = st.ctx.paths.ToNative(core::Cp850ToUtf8(st.menu.locirpf));
    if (native.ok()) h.official_folder = *native;
  }
  h.work_folder = st.ctx.work_folder;
  h.terminal = st.ctx.terminal;
  h.option_code = option_code;
  h.set_status = st.menu.env_stat == 1;
  h.transmitted_status = st.menu.opc_tran;
  h.seal.start_folder = st.dirinst.empty() ? st.ctx.installation_folder : st.dirinst;
  h.seal.official_folder = h.official_folder;
  return h;
}

handover::HandoverReport HandOverOpenDeclaration(Station& st, DeclarationSession& session,
                                                 int option_code,
                                                 handover::WriteOptions& session_state) {
  ToolkitHandOverDialog dialog(st.tk);
  handover::HandoverReport report;
  Result<handover::Snapshot> snapshot = StationSnapshot(st, session);
  if (!snapshot.ok()) {
    // A work copy that cannot be read: nothing is written.
    dialog.Box(kErrorStyle,
               {core::Cp850("Os dados não foram transferidos para o programa da receita!"),
                core::Utf8ToCp850(snapshot.status().ToString())});
    report.status = snapshot.status();
    return report;
  }
  const handover::HandoverSettings settings = StationHandoverSettings(st, option_code);
  StationRegisterWriter writer(st.ctx, st.areas, session.cpf());
  report = handover::HandOver(st.env, dialog, *snapshot, session.vars(), settings, writer,
                              session_state);
  st.tk.SetStatusLine("");
  return report;
}

void UseHandOver(SelectionContext& s, Station& st, DeclarationSession& session) {
  // One automatic-debit answer for the whole run of the option.
  auto state = std::make_shared<handover::WriteOptions>();
  s.hooks.handover = [&st, &session, state]() {
    if (!session.is_open()) return;
    (void)HandOverOpenDeclaration(st, session, session.menu_option(), *state);
  };
}

Status HandOverOnSave(Station& st, DeclarationSession& session, handover::WriteOptions& run_state) {
  // The dispatcher's guard shows its boxes; without a dispatcher (a station
  // not started) the folder alone decides.
  const bool guarded =
      st.dispatcher != nullptr ? st.dispatcher->Avisosrf() : !st.menu.locirpf.empty();
  if (!guarded) return Status::Cancelled("no official-program folder");
  handover::HandoverReport r = HandOverOpenDeclaration(st, session, 11, run_state);
  if (r.transferred) return Status::Ok();
  return r.status.ok() ? Status::IoError("not transferred") : r.status;
}

}  // namespace dodu::shell
