// The DARF being prepared and the computations that fill it: the principal of
// each kind (BUS_IMPO), the fine and interest (CALCJU), the checks of the due and
// payment dates (VALI_DATA) and the blank fields of a quota range printed before
// its month is known (CDARFUTU "N").
//
// Everything here is pure: the caller fills DarfSources from the open
// declaration (variables and the rows of its work copies), hands in the SELIC
// rows of table 51 and today's date, and shows the messages it gets back (UTF-8,
// the screen converts them). The business days, interest and fines are those of
// src/tax; nothing of them is repeated here.
//
// Amounts: the fine and the interest are rounded to cents and the total is the
// principal plus the two rounded amounts, so the parts printed on a slip always
// add up to its total.
#ifndef DODU_DARF_DARF_H_
#define DODU_DARF_DARF_H_

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"
#include "core/variables.h"
#include "platform/status.h"
#include "tax/carne.h"
#include "tax/selic.h"

namespace dodu::darf {

using core::Date;
using core::Decimal;

// QUEDARF.
enum class Kind : int {
  kQuota = 1,
  kCarneLeao = 2,
  kCapitalGain = 3,
  kVariableIncome = 4,
  kInvestmentFund = 5,
  kLateFilingFine = 6,
  kChildrenFund = 7,
  kForeignCash = 8,
  kFree = 9,
  kChangeDates = 10,
  kElderlyFund = 11,
};

// One row of table 07 (capital gains and variable income) as BUS_IMPO reads it.
struct GainRow {
  int tipo_bem = 0;           // TIPO_BEM: 1 property, 2 movable, 3 shares, 4 variable income, 5 cash
  int bem_nro = 0;            // BEM_NRO
  int rvar_nro = 0;           // RVAR_NRO (variable-income rows)
  std::string day_trade;      // DAY_TRADE "1" common/day trade, "3" funds
  Date data_ali;              // DATA_ALI, the sale date
  bool ven_prazo = false;     // VEN_PRAZO "S": instalment sale
  bool bem_brasil = true;     // BEMBRASIL ("N": abroad)
  std::string cpf_alien;      // CPFALIEN, the seller's CPF (digits)
  Decimal val_tribu, val_imposv, imppago;  // VAL_TRIBU, VAL_IMPOSV, IMPPAGO
  std::array<Decimal, 12> val_tri{}, imp_dev{}, imp_pag{}, rec_mes{};  // VAL_TRImm ... REC_MESmm
};

// One payment of table 06 (work copy 26).
struct PaymentRow {
  std::string name;  // I6_1 (cp850)
  std::string cnpj;  // I6_2 (digits or punctuated)
  int code = 0;      // I6_3
  Decimal paid;      // I6_4
  Decimal refunded;  // I6_5
};

// What the lookups read of the open declaration. `vars` holds `I13_37`,
// `QTD_QUOTA`, `I13_23`, `DECFINAL` and `DEBITAUT`.
struct DarfSources {
  const core::Variables* vars = nullptr;
  std::array<Date, 8> quota_dates{};  // ADATVENC (with the edits of this run)
  Date deadline;                      // DDIAENTRA
  std::string holder_cpf;             // CPF (digits)
  std::vector<tax::CarneRow> carne;   // table 12
  std::vector<GainRow> gains;         // table 07
  std::vector<PaymentRow> payments;   // table 06
  std::vector<std::string> dependant_cpfs;  // CPFDEPEN of table 03
};

// The figures the text lines use (REND_REAL ... IMPAPAG).
struct Figures {
  Decimal income, cash_book, deductions, tax_due, tax_paid, balance, base;
};

// The DARF being prepared: the fields of the slip and the state of its set.
struct Darf {
  Kind kind = Kind::kQuota;
  Date period;               // DF_PERIODO
  std::string cpf_cnpj;      // field 03 (digits)
  std::string dependant_cpf; // CPFDEPEN of a dependant's DARF (DARFTD "N"), blank for the holder
  std::string code;          // DF_CODIG
  std::string reference;     // DF_REFER (16 characters)
  std::string name;          // field 01 (cp850)
  std::string phone;         // TELEFO (digits)
  Date due;                  // DF_VCTO
  Date payment;              // DF_PGTO
  Date first_business_day;   // DDATAUTIL
  bool first_day_edited = false;  // DDATAUTIL typed by the operator
  Decimal principal;         // IMPO_REAL
  Decimal fine_rate, fine;   // DF_MULTA, VAL_MULTA
  Decimal interest_rate, interest;  // DF_JURO, VAL_JURO
  Decimal total;             // VAL_TOTAL
  std::array<std::string, 5> lines;  // DF_OUTR1 .. DF_OUTR5 (35 characters, cp850)
  int number = 1;            // the quota, month or donation of this slip
  int first = 1, last = 1;   // QUE_QUOTA/ULT_QUOTA or MES_PGTO/MES_FINAL
  bool same_month = false;   // CDARFUTU "S"
  int gain_number = 0;       // BEM_NRO of kind 3
  int quota_count = 0;       // QTD_QUOTA
  Figures figures;
  int late_months = 0;       // DIF_MES (kind 6)
  Decimal uncapped_fine;     // VAL_TOTMUL (kind 6)
  tax::SelicAge selic_age = tax::SelicAge::kCurrent;

  // A quota of a range whose payment month is not known: interest and total
  // (and, on forms, the fine) stay blank.
  bool BlankFuture() const { return kind == Kind::kQuota && last > first && !same_month; }
};

enum class Mode { kSilent = 0, kInteractive = 2 };

struct Lookup {
  bool found = false;                // something to print
  std::vector<std::string> message;  // interactive only (UTF-8)
};

// BUS_IMPO: fills the principal, period, due date, first business day, code and
// figures of `darf.number` for `darf.kind`. Found when the principal is not
// zero. Kind 9 looks nothing up and is found when its typed principal is not
// zero. Messages are given in interactive mode only.
Lookup BusImpo(Darf& darf, const DarfSources& src, Mode mode);

// The donations of a kind (7: code 39, 11: code 49), in table order.
std::vector<PaymentRow> DonationsOf(const DarfSources& src, Kind kind);

// Why a donation DARF of `kind` cannot be prepared on `today`: after the
// deadline (the donation must be withdrawn by a rectifying declaration) or with
// no donation of the kind's code. Empty when it can. UTF-8.
std::vector<std::string> DonationRefusal(const DarfSources& src, Kind kind, const Date& today);

// Kinds 2 to 5 for one taxpayer: whose DARF it is, by the carnê-leão rows
// there are (holder rows only, or none: the holder; dependant rows only: a
// dependant, whose CPF is asked; both: the question below, Yes = holder).
enum class Person { kHolder, kDependant, kAsk };
Person CarnePersonOf(const DarfSources& src);
std::vector<std::string> HolderOrDependantQuestion();

// The first carnê-leão row of `cpf` (blank: the holder's), or nullptr.
const tax::CarneRow* CarneRowOf(const DarfSources& src, const std::string& cpf);

// The gain `number` of kind 3 (not a variable-income row), or nullptr.
const GainRow* GainOf(const DarfSources& src, int number);

// Kind 3: the gain's seller must be the holder or one of the dependants.
// kInvalid "Ganho registrado com CPF não encontrado!" otherwise; the CPF
// answered is blank for the holder.
Result<std::string> GainSellerCpf(const DarfSources& src, const GainRow& gain);

// Kind 3: the month first offered for a gain (instalment: the first month with
// tax left, else the sale month), or kNotFound "Não há DARF a pagar nesse ganho".
Result<int> GainFirstMonth(const GainRow& gain);

// CALCJU with recalc 1: the fine and interest of the principal on
// `darf.payment`. Kind 6 carries none. A SELIC month missing from `selic` fails
// with the tax library's kNotFound and leaves the DARF untouched.
Status CalcJu(Darf& darf, std::span<const tax::SelicRow> selic, const Date& today);

// Whether the total decides "VALOR INFERIOR R$ 10,00 - NAO PAGAR" (below 10.00).
bool BelowMinimum(const Darf& darf);

// "Valido p/ pagamento ": the word and date of the slip's row 19.
struct ValidUntil {
  std::string word;  // "ate" or "dia"
  Date date;
};
ValidUntil ValidUntilOf(const Darf& darf);

// VALI_DATA.
struct DateCheck {
  bool accepted = true;              // false: the cursor stays in the field
  std::vector<std::string> message;  // UTF-8, empty when none
};
// Mode 1, the due date was typed: a quota's new date replaces ADATVENC[number]
// in `quota_dates` for the rest of the run and the first business day after it
// is recomputed; then the payment date is checked as below.
DateCheck ValiDataDue(Darf& darf, std::array<Date, 8>& quota_dates);
// Mode 2, the payment date was typed: refused when it lies after the due date
// but before the first business day after it; then a Saturday or Sunday
// payment date moves to the Monday with its message and the cursor stays.
DateCheck ValiDataPayment(Darf& darf);

// "Ao imprimir os n Darfes como serão as quotas futuras?" and its two lines.
std::vector<std::string> FutureQuotasQuestion(int count);

// In a print run, whether a taxpayer with automatic debit gets no slip: only
// the quota DARFs, which the debit pays.
bool SkippedByAutomaticDebit(Kind kind, const std::string& debitaut);

}  // namespace dodu::darf

#endif  // DODU_DARF_DARF_H_
