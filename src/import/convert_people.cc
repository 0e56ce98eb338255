// Dependants, alimony recipients and heirs (table 03), payments and donations
// (table 06) and the heirs' shares (table 20).
#include <algorithm>

#include "core/codepage.h"
#include "import/internal/convert_parts.h"
#include "import/internal/convert_util.h"

namespace dodu::import::internal {
namespace {

using core::Decimal;

struct Person {
  int number;  // the dependant's number, or the recipient's number + 50
  std::string name;
};

std::string Left(const std::string& s, size_t n) { return s.substr(0, std::min(n, s.size())); }

// VE_IDADE: whether a dependant may stay. Ages are counted by birth year against
// the base year; a dependant without a (valid) birth date is kept without a
// question: an empty year must not count as born before 1997.
bool MayStay(const ParsedRecord& rec, const ConversionInputs& in) {
  const core::Date born = rec.DateOf("DATADEPEN");
  if (born.IsBlank()) return true;
  const int code = rec.Int("CODIDEPEN");
  const std::string& name = rec.Text("NOMEDEPEN");
  // The first line of each box carries as much of the name as fits it.
  auto ask = [&](size_t name_length, std::vector<std::string> lines) {
    for (std::string& l : lines) l = core::Cp850(l);
    lines[0] += Left(name, name_length);
    return in.confirm ? in.confirm(lines) : false;
  };
  constexpr int kBaseYear = 2019;
  if ((code == 21 || code == 24) && born.year() < kBaseYear - 22) {
    return !ask(41, {"Dependente:  ", "O dependente completou 22 anos. A menos que ele seja  ",
                     "incapacitado física ou mentalmente não pode permanecer",
                     "mais como dependente. Retira-o da relação?        "});
  }
  if (code == 41 && born.year() < kBaseYear - 22) {
    ask(37, {"Dependente:", "O menor pobre completou 22 anos e não pode ficar",
             "como dependente. Ele será retirado da relação. "});
    return false;
  }
  if ((code == 22 || code == 25) && born.year() < kBaseYear - 25) {
    ask(36, {"Dependente:", "O dependente completou 25 anos e não pode ficar",
             "como dependente. Ele será retirado da relação."});
    return false;
  }
  return true;
}

Row Payment(const std::string& cpf, int code, const std::string& payee_id, const std::string& name,
            Decimal paid, Decimal reimbursed, int person) {
  Row r;
  r.Set("CPF", cpf).Set("I6_1", name).Set("I6_2", payee_id).Set("I6_3", Int(code));
  r.Set("I6_4", paid).Set("I6_5", reimbursed).Set("I6_6", Int(person));
  return r;
}

std::string FundName(const ParsedRecord& rec, bool elderly) {
  const std::string kind = rec.Text("KIND");
  const std::string state = rec.Text("STATE");
  std::string town = rec.Text("MUNICIPALITY");
  town.erase(0, town.find_first_not_of(' '));
  const std::string fund = elderly ? "Idoso" : "ECA";
  if (kind == "E") return fund + " Estadual - " + state;
  if (kind == "N") return fund + " Nacional ";
  if (kind == "M") return fund + " " + town + " - " + state;
  return "";
}

}  // namespace

void ConvertPeople(const DeclarationFile& file, const ConversionInputs& in,
                   std::vector<Row>& people, std::vector<Row>& payments, std::vector<Row>& shares,
                   std::vector<std::string>& notes) {
  const std::string& cpf = file.cpf();
  const bool current = file.exercise == Exercise::kCurrent;
  std::vector<Person> persons;
  int dependants_added = 0;
  struct Heir {
    std::string name, cpf;
  };
  std::vector<Heir> heirs;
  for (const ParsedRecord& rec : file.records) {
    const std::string_view t = rec.type();
    if (t == "25") {
      if (!MayStay(rec, in)) continue;
      Row r;
      r.Set("CPF", cpf).Set("NRODEPEN", rec.Number("NRODEPEN"));
      r.Set("CODIDEPEN", rec.Number("CODIDEPEN")).Set("NOMEDEPEN", rec.Text("NOMEDEPEN"));
      r.Set("DATADEPEN", rec.DateOf("DATADEPEN")).Set("CPFDEPEN", rec.Text("CPFDEPEN"));
      r.Set("SAIUJUNT", std::string(rec.Text("SAIUJUNT") == "1" ? "S" : ""));
      r.Set("NITDEPEN", rec.Text("NITDEPEN"));
      people.push_back(std::move(r));
      persons.push_back({rec.Int("NRODEPEN"), rec.Text("NOMEDEPEN")});
      ++dependants_added;
    } else if (t == "35") {
      Row r;
      r.Set("CPF", cpf).Set("CODIDEPEN", Int(rec.Text("KIND") == "0" ? 99 : 98));
      r.Set("NOMEDEPEN", rec.Text("NOMEDEPEN")).Set("DATADEPEN", rec.DateOf("DATADEPEN"));
      r.Set("CPFDEPEN", rec.Text("CPFDEPEN"));
      r.Set("NRODEPEN", Int(rec.Int("NUMBER") + dependants_added));
      people.push_back(std::move(r));
      persons.push_back({rec.Int("NUMBER") + 50, rec.Text("NOMEDEPEN")});
    } else if (t == "58" && current) {
      Row r;
      heirs.push_back({rec.Text("NOMEDEPEN"), rec.Text("CPFHERDE")});
      r.Set("CPF", cpf).Set("CODIDEPEN", Int(100)).Set("NOMEDEPEN", rec.Text("NOMEDEPEN"));
      r.Set("CPFHERDE", rec.Text("CPFHERDE"))
          .Set("NRODEPEN", Int(static_cast<int64_t>(heirs.size())));
      people.push_back(std::move(r));
    } else if (t == "59" && current) {
      const int heir = rec.Int("HEIR");
      if (heir < 1 || heir > static_cast<int>(heirs.size())) {
        notes.push_back(core::Cp850("Linha " + std::to_string(rec.line()) +
                                    ": participação do bem " + rec.Number("REFEREN").ToString() +
                                    " sem herdeiro " + std::to_string(heir) + " não importada"));
        continue;
      }
      Row r;
      r.Set("CPF", cpf).Set("REFEREN", Int(std::stoi("0" + rec.Text("REFEREN"))));
      r.Set("NOMEDEPEN", heirs[heir - 1].name).Set("CPFHERDE", heirs[heir - 1].cpf);
      r.Set("NRODEPEN", Int(heir)).Set("PERCENT", rec.Number("PERCENT"));
      shares.push_back(std::move(r));
    } else if (t == "26") {
      const int code = rec.Int("I6_3");
      if (code == 50) continue;
      int person = 0;
      const std::string kind = rec.Text("PERSON_KIND");
      const int number = rec.Int("PERSON");
      if (kind == "D") {
        person = number;
        for (size_t i = 0; i < persons.size(); ++i) {
          if (persons[i].number == number) {
            person = static_cast<int>(i) + 1;
            break;
          }
        }
      } else if (kind == "A") {
        person = number + 50;
      }
      Decimal paid = rec.Number("I6_4");
      Decimal reimbursed = rec.Number("I6_5");
      // The part of an education payment above the limit is not deductible: it
      // is added to what the file gives as not deductible, never below it.
      const Decimal limit = Cents(kEducationLimitCents);
      if ((code == 1 || code == 2) && paid > limit) reimbursed = std::max(reimbursed, paid - limit);
      payments.push_back(
          Payment(cpf, code, rec.Text("I6_2"), rec.Text("I6_1"), paid, reimbursed, person));
    } else if (t == "34" && current) {
      payments.push_back(
          Payment(cpf, 98, rec.Text("I6_2"), rec.Text("I6_1"), rec.Number("I6_4"), Decimal(), 0));
    } else if (t == "90" && current) {
      const int code = rec.Int("I6_3") == 99 ? 49 : rec.Int("I6_3");
      payments.push_back(Payment(cpf, code, rec.Text("I6_2"), rec.Text("I6_1"), rec.Number("I6_4"),
                                 rec.Number("I6_5"), 0));
    } else if ((t == "91" || t == "92") && current) {
      payments.push_back(Payment(cpf, t == "91" ? 39 : 49, rec.Text("I6_2"),
                                 FundName(rec, t == "92"), rec.Number("I6_4"), Decimal(), 0));
    }
  }
  // Payments to alimony recipients point at the recipient's place in the list.
  for (Row& p : payments) {
    const int person = static_cast<int>(p.NumberOf("I6_6").ToScaled(0));
    if (person <= 50) continue;
    for (size_t i = 0; i < persons.size(); ++i) {
      if (persons[i].number == person) {
        p.Set("I6_6", Int(static_cast<int64_t>(i) + 1)).Set("I6_1", persons[i].name);
        break;
      }
    }
  }
}

}  // namespace dodu::import::internal
