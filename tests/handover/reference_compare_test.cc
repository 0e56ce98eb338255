// The official program's own file for a made-up taxpayer (read in place from
// the shared reference folder; skipped when it is absent) against the
// document our writer produces for the same declaration entered as a
// fixture: the same order of elements and attributes wherever both carry
// them, and the same values after folding case and accents, except where ours
// is meant to differ (kept below as data, each with its reason).
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <pugixml.hpp>
#include <set>
#include <sstream>

#include "handover/document_writer.h"
#include "handover/testutil.h"

namespace dodu::handover {
namespace {

using testing::Day;

const char kOfficialFile[] = DODU_SHARED_DIR "/reference/22222222303-0000000000.xml";

Row R() { return Row(); }

testing::Vars ReferenceVars() {
  testing::Vars v = testing::BaseVars();
  auto& m = v.map;
  auto t = [&](const char* n, std::string s) { m.Declare(n, core::Value(std::move(s))); };
  auto n = [&](const char* name, const char* s) {
    m.Declare(name, core::Value(*core::Decimal::Parse(s)));
  };
  t("NOMECONTR", "Olzefu Byaisno Asrim");
  t("BAIRRO", "Centro Hist\xA2rico de Sao Paulo");
  t("CPFCONJU", "33333333414");
  t("EMAIL", "Olzefu@exemple.com");
  t("BANCO", "001");
  t("AGENCIA", "0001");
  t("CONTACO", "000019");
  for (auto [name, value] : std::initializer_list<std::pair<const char*, const char*>>{
           {"I13_01", "97623.52"},  {"I13_02", "13000"},    {"I13_08", "110623.52"},
           {"I13_12", "2275.08"},   {"I13_19", "10388.52"}, {"I13_20", "93869.18"},
           {"I13_21", "9991.41"},   {"I13_23", "15381.70"}, {"I13_27", "15421.65"},
           {"I13_35", "15421.65"},  {"I13_38", "39.95"},    {"I13_39", "158024.67"},
           {"I13_40", "158024.99"}, {"I13_44", "343.66"},   {"I13_45", "8641.43"},
           {"I3_05", "321.86"},     {"I3_24", "21.80"},     {"I4_08", "87.53"},
           {"I4_09", "12.34"},      {"I4_10", "32.10"}}) {
    n(name, value);
  }
  return v;
}

Snapshot ReferenceSnapshot() {
  Snapshot s = testing::BaseSnapshot("22222222303");
  auto& deps = s.rows[Schedule::kDependants];
  deps.push_back(R().Text("NOMEDEPEN", "Ana Furirezu")
                     .Num("CODIDEPEN", "11")
                     .Text("CPFDEPEN", "33333333414")
                     .Num("NRODEPEN", "1")
                     .Day("DATADEPEN", Day(1991, 2, 3)));
  deps.push_back(R().Text("NOMEDEPEN", "Artur Syonay")
                     .Num("CODIDEPEN", "99")
                     .Text("CPFDEPEN", "44444444525")
                     .Num("NRODEPEN", "2")
                     .Day("DATADEPEN", Day(2006, 5, 4)));
  auto& inc = s.rows[Schedule::kIncome];
  inc.push_back(R().Text("I1_1", "J")
                    .Text("I1_2", "AAAegur Bayortur 2901507 LTDA")
                    .Text("I1_3", "99.111.111/0001-32")
                    .Num("I1_4", "97623.52")
                    .Num("I1_5", "15421.65")
                    .Num("I1_6", "2931.67")
                    .Num("I1_7", "7509.46")
                    .Num("I1_39", "1014.73")
                    .Text("I1_11", "S"));
  inc.push_back(R().Text("I1_1", "D")
                    .Text("I1_2", "BBBuwir Koidirn 9364423 LTDA")
                    .Text("I1_3", "99.222.222/0001-16")
                    .Num("I1_4", "13000")
                    .Num("I1_6", "386.27")
                    .Num("I1_7", "1000")
                    .Text("I1_8", "33333333414")
                    .Text("I1_11", "N"));
  inc.push_back(R().Text("I1_1", "J")
                    .Text("I1_2", "CCCosoe Alungrim 3087491 LTDA")
                    .Text("I1_3", "99.333.333/0001-08")
                    .Num("I1_15", "321.86")
                    .Num("I1_33", "12.34")
                    .Text("I1_11", "S"));
  inc.push_back(R().Text("I1_1", "J")
                    .Text("I1_2", "BBBuwir Koidirn 9364423 LTDA")
                    .Text("I1_3", "99.222.222/0001-16")
                    .Num("I1_32", "87.53")
                    .Text("I1_11", "S"));
  inc.push_back(R().Text("I1_1", "D")
                    .Text("I1_2", "AAAegur Bayortur 2901507 LTDA")
                    .Text("I1_3", "99.111.111/0001-32")
                    .Num("I1_9", "21.80")
                    .Text("I1_35", "Rendimento teste dependente")
                    .Text("I1_8", "33333333414")
                    .Text("I1_11", "N"));
  inc.push_back(R().Text("I1_1", "D")
                    .Text("I1_2", "AAAegur Bayortur 2901507 LTDA")
                    .Text("I1_3", "99.111.111/0001-32")
                    .Num("I1_34", "32.10")
                    .Text("I1_35", "Outros do Dependente CNPJ 1")
                    .Text("I1_8", "33333333414")
                    .Text("I1_11", "N"));
  auto& pay = s.rows[Schedule::kPayments];
  pay.push_back(R().Text("I6_1", "DDDaumu Tyuha 8491702 LTDA")
                    .Text("I6_2", "99.555.555/0001-67")
                    .Num("I6_3", "1")
                    .Num("I6_4", "4678.90"));
  pay.push_back(R().Text("I6_1", "AAAegur Bayortur 2901507 LTDA")
                    .Text("I6_2", "99.111.111/0001-32")
                    .Num("I6_3", "26")
                    .Num("I6_4", "1234")
                    .Num("I6_6", "1"));
  auto& assets = s.rows[Schedule::kAssets];
  assets.push_back(R().Num("I7_1", "1")
                       .Text("I7_2", "APTO COD 11 AQ 01/01/2000")
                       .Num("I7_3", "123456.78")
                       .Num("I7_4", "123456.99")
                       .Num("I7_5", "11")
                       .Text("I7_7", "N")
                       .Text("ENDEIMO", "RUA Jardim Bot\x83nico")
                       .Text("NUMIMO", " 414")
                       .Text("COMPIMO", "APT 123")
                       .Text("BAIRIMO", "Jardim Bot\x83nico")
                       .Text("CEPIMO", "22460000")
                       .Text("MUNICIMO", "Rio de Janeiro")
                       .Text("UFIMO", "RJ")
                       .Text("CODMIMO", "6001")
                       .Text("MATRICU", "MATR_001")
                       .Text("CARTORIO", "CARTORIO_RJ")
                       .Num("AREAIMO", "56.7")
                       .Text("UNIDADE", "S")
                       .Text("REGISTRO", "S")
                       .Day("DATA_IMO", Day(2000, 1, 1))
                       .Text("REG_IPTU", "IPTU_APT_001"));
  assets.push_back(R().Num("I7_1", "2")
                       .Text("I7_2", "VEICULO AUTOMOTOR XYZ")
                       .Num("I7_3", "34567.89")
                       .Num("I7_4", "34568")
                       .Num("I7_5", "21")
                       .Text("RENAVAM", "99999999990"));
  auto& debts = s.rows[Schedule::kDebts];
  debts.push_back(R().Num("I8_1", "1")
                      .Text("I8_2", "DIVIDA DE PF 123456")
                      .Num("I8_3", "2000")
                      .Num("I8_4", "1000")
                      .Num("I8_5", "14")
                      .Num("I8_7", "400"));
  debts.push_back(R().Num("I8_1", "2")
                      .Text("I8_2", "EMPRESTIMO XYZ")
                      .Num("I8_3", "2000")
                      .Num("I8_4", "1900")
                      .Num("I8_5", "13")
                      .Num("I8_7", "500"));
  return s;
}

// Case, accents (UTF-8 Latin letters) and blanks at both ends folded away.
std::string Fold(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c == 0xC3 && i + 1 < s.size()) {
      // U+00C0..U+00FF: C3 80..BF; folded to the small letter's code.
      unsigned n = (0xC0u + (static_cast<unsigned char>(s[++i]) & 0x3Fu)) | 0x20u;
      const char* map = "aaaaaaaceeeeiiii-nooooo-ouuuuy-";  // 0xE0..0xFE
      char f = n >= 0xE0 && n - 0xE0 < 31 ? map[n - 0xE0] : '?';
      out += f;
    } else {
      out += static_cast<char>(std::tolower(c));
    }
  }
  size_t b = out.find_first_not_of(' '), e = out.find_last_not_of(' ');
  return b == std::string::npos ? "" : out.substr(b, e - b + 1);
}

struct Walk {
  std::vector<std::string> problems;
  std::map<std::string, std::string> reasons;  // "path@attribute" -> why ours differs
  std::set<std::string> used;

  bool Excused(const std::string& key) {
    for (const auto& [pattern, why] : reasons) {
      (void)why;
      size_t star = pattern.find("[*]");
      bool match = star == std::string::npos ? pattern == key : false;
      if (star != std::string::npos) {
        size_t close = key.find(']', star);
        match = key.compare(0, star, pattern, 0, star) == 0 && close != std::string::npos &&
                key.substr(close + 1) == pattern.substr(star + 3);
      }
      if (match) {
        used.insert(pattern);
        return true;
      }
    }
    return false;
  }

  void Compare(const pugi::xml_node& ours, const pugi::xml_node& official,
               const std::string& path) {
    // Attributes both carry: same order, same folded value.
    std::vector<std::string> a_ours, a_official;
    for (auto a : official.attributes()) {
      if (ours.attribute(a.name())) a_official.push_back(a.name());
    }
    for (auto a : ours.attributes()) {
      if (official.attribute(a.name())) a_ours.push_back(a.name());
    }
    if (a_ours != a_official) problems.push_back(path + ": attribute order differs");
    for (const std::string& name : a_ours) {
      std::string mine = Fold(ours.attribute(name.c_str()).value());
      std::string theirs = Fold(official.attribute(name.c_str()).value());
      const std::string key = path + "@" + name;
      if (mine != theirs && !Excused(key)) {
        problems.push_back(key + ": ours \"" + mine + "\", official \"" + theirs + "\"");
      }
    }
    // Children both carry, in order; items matched one by one.
    std::vector<pugi::xml_node> c_ours, c_official;
    for (auto c : official.children()) {
      if (c.type() == pugi::node_element && ours.child(c.name())) c_official.push_back(c);
    }
    for (auto c : ours.children()) {
      if (c.type() == pugi::node_element && official.child(c.name())) c_ours.push_back(c);
    }
    std::vector<std::string> n_ours, n_official;
    for (auto c : c_ours) n_ours.push_back(c.name());
    for (auto c : c_official) n_official.push_back(c.name());
    if (n_ours != n_official) {
      problems.push_back(path + ": element order differs");
      return;
    }
    std::map<std::string, int> seen;
    for (size_t i = 0; i < c_ours.size(); ++i) {
      std::string name = c_ours[i].name();
      int k = seen[name]++;
      Compare(c_ours[i], c_official[i],
              path + "/" + name + (name == "item" ? "[" + std::to_string(k) + "]" : ""));
    }
  }
};

TEST(ReferenceCompareTest, AgreesWithTheOfficialFileWhereverBothCarryAValue) {
  std::ifstream in(kOfficialFile, std::ios::binary);
  if (!in.good()) GTEST_SKIP() << "no reference file at " << kOfficialFile;
  std::stringstream ss;
  ss << in.rdbuf();
  pugi::xml_document official;
  ASSERT_TRUE(official.load_string(ss.str().c_str()));

  testing::Vars vars = ReferenceVars();
  Snapshot snap = ReferenceSnapshot();
  testing::ScriptedDialog dialog;
  auto text = DeclarationText(snap, vars.map, dialog);
  ASSERT_TRUE(text.ok());
  pugi::xml_document ours;
  ASSERT_TRUE(ours.load_string(text->c_str()));

  Walk walk;
  walk.reasons = {
#include "reference_differences.inc"
  };
  walk.Compare(ours.child("classe"), official.child("classe"), "classe");
  for (const auto& p : walk.problems) ADD_FAILURE() << p;
  for (const auto& [pattern, why] : walk.reasons) {
    EXPECT_TRUE(walk.used.count(pattern))
        << "difference no longer seen: " << pattern << " (" << why << ")";
  }
}

}  // namespace
}  // namespace dodu::handover
