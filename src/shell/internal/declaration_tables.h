// The tables the load and the save of a declaration work on: the shared
// declaration tables of the data folder (opened exclusively, with the waits of
// store/replace_wait.h), the register, the work copies of this terminal and
// the usage log.
#ifndef DODU_SHELL_INTERNAL_DECLARATION_TABLES_H_
#define DODU_SHELL_INTERNAL_DECLARATION_TABLES_H_

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/decimal.h"
#include "platform/message_sink.h"
#include "platform/status.h"
#include "store/dbf_record.h"
#include "store/opener_context.h"
#include "store/workarea.h"

namespace dodu::shell::internal {

// The register is opened in area 9, table 01 of a recovery in area 11.
inline constexpr int kRegisterArea = 9;
inline constexpr int kRecoveryDeclarationArea = 11;
// Where the save opens shared table 21: area 21 holds the work copy of table 01
// and area 41 the work copy of table 21 being written back.
inline constexpr int kSaveScratchArea = 99;

// Two-digit month or table number; whole part of a number; text without its
// trailing blanks.
std::string Mm(int n);
int64_t Whole(const core::Decimal& d);
std::string Trimmed(std::string_view s);

// A record carried into another layout (a table written by an older version):
// fields of the same name and shape keep their bytes, the deletion flag stays.
store::Record ConvertRecord(const store::Record& from,
                            const std::shared_ptr<const store::RecordLayout>& to);

// The declaration tables that have a work copy, in load order.
const std::vector<int>& WorkCopyTables();

// The key of the work copy of table n.
std::string WorkCopyKey(int table_number);
// The work copy's file in the work folder, with ".DBF".
std::string WorkCopyPath(const store::OpenerContext& ctx, int table_number);

// An opener context that forwards everything to `base` but the boxes: the
// waits below ask their own question instead of the opener's "not available".
class QuietContext {
 public:
  explicit QuietContext(store::OpenerContext& base);
  store::OpenerContext& ctx() { return ctx_; }

 private:
  class Sink final : public platform::MessageSink {
   public:
    explicit Sink(platform::MessageSink& base) : base_(base) {}
    void Box(int, const std::vector<std::string>&, const std::string&) override {}
    void Tone(int hz, int ms) override { base_.Tone(hz, ms); }
    void StatusText(const std::string& text) override { base_.StatusText(text); }

   private:
    platform::MessageSink& base_;
  };
  Sink sink_;
  store::OpenerContext ctx_;
};

enum class WaitKind { kLoad, kSave };

// Opens shared declaration table n (created when missing) with its catalogue
// keys in `area`, exclusively or shared. kLocked at once when refused.
Status OpenDeclarationTable(store::OpenerContext& ctx, store::WorkAreas& areas, int table_number,
                            int area, bool exclusive);

// A shared open (`open`, given a context whose boxes are dropped) retried for
// a few seconds while another station holds the table exclusively for a
// moment (creating it, building an index); kLocked after that.
Status OpenSharedBriefly(store::OpenerContext& ctx,
                         const std::function<Status(store::OpenerContext&)>& open);

// The register (table 09) opened shared in area 9, briefly waiting as above.
Status OpenRegister(store::OpenerContext& ctx, store::WorkAreas& areas);

// Declaration table n opened exclusively, waiting while another station holds it. Loading asks
// "Outro terminal esta usando o arquivo IMPnnyy.DBF" / "Aguarde ?" at the first
// refusal ("Não": kCancelled), then retries with the waiting text, Esc giving
// up (kCancelled) and the question coming back after `ask_after_ms`. Saving
// retries with the waiting text and asks after `ask_after_ms`.
Status OpenDeclarationTableWaiting(store::OpenerContext& ctx, store::WorkAreas& areas,
                                   int table_number, int area, WaitKind kind, int ask_after_ms);

// The live records of taxpayer `cpf` in the area (first order, which begins
// with the CPF), in index order; the area is left at eof.
Result<std::vector<store::Record>> TaxpayerRecords(store::WorkArea& area, std::string_view cpf);

// Writes the work copy of table n anew holding `records` (closing its area
// first); the copy is not left open.
Status WriteWorkCopy(store::OpenerContext& ctx, store::WorkAreas& areas, int table_number,
                     const std::vector<store::Record>& records);

// Replaces the open work copy of table n by one holding `records`, built
// under a temporary name and renamed in (so a station killed meanwhile leaves
// the copy as it was or as wanted, never half of each), and reopens it in
// area n + 20 with its index, on the first record.
Status RewriteWorkCopy(store::OpenerContext& ctx, store::WorkAreas& areas, int table_number,
                       const std::vector<store::Record>& records);

// Opens the work copy of table n exclusively in area n + 20 and builds its index
// afresh. kNotFound when the copy is missing (it is never created here).
Status OpenWorkCopyArea(store::OpenerContext& ctx, store::WorkAreas& areas, int table_number);

// Opens a work copy file exclusively in `area` without index (the recovery's
// reads of the register's and table 01's copies).
Status OpenWorkCopyPlain(store::OpenerContext& ctx, store::WorkAreas& areas, int table_number,
                         int area);

// REC_LOCK(5) on the area's current record, and PREP_REG(key), tried up to
// `attempts` times; the refusal's box shows after the last attempt only. Esc
// (kCancelled) ends the attempts at once.
Status LockWithRetries(store::OpenerContext& ctx, store::WorkArea& area, int attempts);
Status PrepRegWithRetries(store::OpenerContext& ctx, store::WorkArea& area, std::string_view key,
                          int attempts);

}  // namespace dodu::shell::internal

#endif  // DODU_SHELL_INTERNAL_DECLARATION_TABLES_H_
