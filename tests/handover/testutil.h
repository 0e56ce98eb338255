// Shared fixtures of the hand-over tests: a scripted operator, a small
// declaration builder, golden-file comparison and an XML reader check.
#ifndef DODU_TESTS_HANDOVER_TESTUTIL_H_
#define DODU_TESTS_HANDOVER_TESTUTIL_H_

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <fstream>
#include <pugixml.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "golden_bytes.h"
#include "core/variables.h"
#include "handover/snapshot.h"

namespace dodu::handover::testing {

#define ASSERT_OK(expr)                                          \
  do {                                                           \
    const auto& assert_ok_st_ = (expr);                          \
    ASSERT_TRUE(assert_ok_st_.ok()) << assert_ok_st_.ToString(); \
  } while (0)

// Answers from a script; a question the script has no answer for fails the
// test (and answers "no" / Esc) instead of hanging.
class ScriptedDialog final : public Dialog {
 public:
  std::deque<bool> confirms;
  std::deque<int> choices;
  std::vector<std::vector<std::string>> boxes;
  std::vector<int> styles;
  std::vector<std::string> status;
  int beeps = 0;
  int questions = 0;

  void TitledBox(int style, const std::vector<std::string>& lines,
                 const std::string& title) override {
    styles.push_back(style);
    boxes.push_back(lines);
    titles.push_back(title);
  }
  std::vector<std::string> titles;
  void StatusLine(const std::string& text) override { status.push_back(text); }
  void Beep() override { ++beeps; }
  bool Confirm(const std::vector<std::string>& lines) override {
    ++questions;
    if (confirms.empty()) {
      ADD_FAILURE() << "unexpected question: " << (lines.empty() ? "" : lines[0]);
      return false;
    }
    bool a = confirms.front();
    confirms.pop_front();
    return a;
  }
  int Choose(const std::vector<std::string>& lines) override {
    ++questions;
    if (choices.empty()) {
      ADD_FAILURE() << "unexpected choice: " << (lines.empty() ? "" : lines[0]);
      return 0;
    }
    int a = choices.front();
    choices.pop_front();
    return a;
  }
  // Every box line joined, for searching.
  std::string AllText() const {
    std::string s;
    for (const auto& b : boxes) {
      for (const auto& l : b) s += l + "\n";
    }
    return s;
  }
};

// A declaration's variables declared one by one.
class Vars {
 public:
  Vars& T(const char* name, std::string v) {
    map.Declare(name, core::Value(std::move(v)));
    return *this;
  }
  Vars& N(const char* name, const char* v) {
    map.Declare(name, core::Value(*core::Decimal::Parse(v)));
    return *this;
  }
  Vars& D(const char* name, int y, int m, int d) {
    map.Declare(name, core::Value(*core::Date::FromYmd(y, m, d)));
    return *this;
  }
  Vars& L(const char* name, bool v) {
    map.Declare(name, core::Value(v));
    return *this;
  }
  core::VariableMap map;
};

inline core::Date Day(int y, int m, int d) { return *core::Date::FromYmd(y, m, d); }

// A snapshot with the run's constants and a fixed clock, no rows.
inline Snapshot BaseSnapshot(std::string cpf = "22222222303") {
  Snapshot s;
  s.cpf = std::move(cpf);
  s.now = {2020, 4, 7, 22, 34, 49};
  s.debit_deadline = Day(2020, 6, 10);
  s.dependant_monthly_deduction = *core::Decimal::Parse("189.59");
  s.simplified_discount_cap = *core::Decimal::Parse("16754.34");
  s.country_name = [](std::string_view code) -> std::string {
    if (code == "249") return "Estados Unidos";
    if (code == "063") return "Argentina";
    return "";
  };
  s.municipality_code = [](std::string_view name, std::string_view uf) -> std::string {
    return name == "SAO PAULO" && uf == "SP" ? "7107" : "";
  };
  return s;
}

// Minimal register and declaration variables of a taxpayer in Brazil.
inline Vars BaseVars() {
  Vars v;
  v.T("NOMECONTR", "Maria da Concei\x87\x84o").T("RETIFICA", "N").T("NOVOEND", "N");
  v.T("NRORECIBO", "").T("RECIBOANT", "").T("USAPADRAO", "S").T("DECFINAL", "N").T("DECSAIDA", "N");
  v.T("EXTERIOR", "N").T("EBRASIL", "S").L("NOVREG", true);
  v.T("TIPOEND", "Rua").T("ENDERECO", "Cantareira").T("NUMERO", "306").T("COMPLEM", "");
  v.T("BAIRRO", "Centro").T("CEP", "01024900").T("MUNICIPIO", "Sao Paulo").T("UF", "SP");
  v.T("CODPAIS", "105").T("CODEMB", "").T("DDDTEL", "11").T("TELEFO", "911111111").T("TELCELU", "");
  v.T("EMAIL", "maria@example.com").D("NASCIMENTO", 1993, 2, 1).T("TITULO", "330132630167");
  v.T("CDPRO", "111").T("CODAT", "11").T("REGPROF", "").T("E_INVALIDO", "").T("CPFCONJU", "");
  v.T("PROCBRASIL", "").T("NIT_TIT", "").T("TEMRURAL", "N").T("BANCO", "001").T("AGENCIA", "00015");
  v.T("CONTACO", "12345-9").T("DEBITAUT", "");
  v.N("CAL_AUTO", "1").T("TIPO_PF", "T").L("SO_REC", false).N("QTD_QUOTA", "0");
  for (const char* n :
       {"I13_01", "I13_02", "I13_03",  "I13_04",  "I13_05",  "I13_06", "I13_07", "I13_08",
        "I13_09", "I13_10", "I13_11",  "I13_12",  "I13_13",  "I13_14", "I13_15", "I13_16",
        "I13_17", "I13_18", "I13_19",  "I13_20",  "I13_21",  "I13_22", "I13_23", "I13_24",
        "I13_25", "I13_26", "I13_27",  "I13_28",  "I13_29",  "I13_30", "I13_31", "I13_32",
        "I13_33", "I13_34", "I13_35",  "I13_36",  "I13_37",  "I13_38", "I13_39", "I13_40",
        "I13_41", "I13_42", "I13_43",  "I13_44",  "I13_45",  "I13_46", "I13_47", "I13_49",
        "I13_50", "I13_51", "I13_11T", "I13_13T", "I13_22T", "I4_01",  "I4_06",  "DESPADRAO"}) {
    v.N(n, "0");
  }
  return v;
}

// Compares `actual` with tests/handover/golden/<name> (DODU_UPDATE_GOLDEN=1 rewrites it).
inline void ExpectGolden(const std::string& name, const std::string& actual) {
  ::dodu::testing::ExpectGoldenBytes("handover", name, actual);
}

// The document parses as XML (UTF-8); the message of the parser otherwise.
inline std::string XmlError(const std::string& text) {
  pugi::xml_document doc;
  pugi::xml_parse_result r =
      doc.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
  return r ? "" : std::string(r.description()) + " at " + std::to_string(r.offset);
}

}  // namespace dodu::handover::testing

#include "platform/fault_env.h"
#include "platform/memory_env.h"

namespace dodu::handover::testing {

// The seal tool as a MemoryEnv program: seals declaration documents (the
// ".conf" beside them) unless told to fail.
struct MemorySeal {
  bool fail = false;
  int exit_status = 0;
  int calls = 0;
  void Install(platform::MemoryEnv& env) {
    env.SetSpawnHandler("java",
                        [this](platform::MemoryEnv& e, const std::vector<std::string>& argv,
                               const platform::SpawnOptions&) -> Result<platform::SpawnResult> {
                          ++calls;
                          const std::string& file = argv.back();
                          if (fail) return platform::SpawnResult{1, 1};
                          const std::string suffix = ".xml";
                          if (file.size() > suffix.size() &&
                              file.compare(file.size() - 4, 4, suffix) == 0 &&
                              file.find("iddeclaracoes.xml") == std::string::npos) {
                            (void)e.PutFile(file.substr(0, file.size() - 4) + ".conf", "sealed");
                          }
                          return platform::SpawnResult{1, exit_status};
                        });
  }
};

inline std::string Slurp(platform::Env& env, const std::string& path) {
  auto r = platform::ReadWholeFile(env, path);
  return r.ok() ? *r : std::string("<missing>");
}

}  // namespace dodu::handover::testing

#endif  // DODU_TESTS_HANDOVER_TESTUTIL_H_
