// The whole document of small declarations, byte for byte against the files
// in golden/ (DODU_UPDATE_GOLDEN=1 rewrites them for a reviewed diff), and
// every document well-formed for an XML reader.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "handover/declaration_fixtures.h"
#include "handover/document_writer.h"

namespace dodu::handover {
namespace {

using testing::Fixture;

struct GoldenCase {
  const char* name;
  Fixture (*make)();
};

std::string Write(Fixture& f, testing::ScriptedDialog& dialog) {
  dialog.choices = f.choices;
  auto text = DeclarationText(f.in, f.vars.map, dialog);
  EXPECT_TRUE(text.ok()) << text.status().ToString();
  return text.ok() ? *text : "";
}

// xmllint, when installed, as a second and stricter reader.
void ExpectXmllintAccepts(const std::string& name, const std::string& text) {
  if (std::system("command -v xmllint >/dev/null 2>&1") != 0) return;
  const std::string path = "/tmp/dodu_handover_" + name + "_" + std::to_string(getpid()) + ".xml";
  std::ofstream(path, std::ios::binary) << text;
  EXPECT_EQ(std::system(("xmllint --noout '" + path + "'").c_str()), 0) << name;
  std::remove(path.c_str());
}

TEST(DocumentGoldenTest, Declarations) {
  const GoldenCase cases[] = {
      {"simplified.xml", testing::Simplified},
      {"complete_dependants_payments.xml", testing::CompleteWithDependants},
      {"estate_assets_debts.xml", testing::EstateWithAssets},
      {"departure_abroad.xml", testing::DepartureAbroad},
      {"rural_variable_income.xml", testing::RuralAndVariableIncome},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f = c.make();
    testing::ScriptedDialog dialog;
    const std::string text = Write(f, dialog);
    testing::ExpectGolden(c.name, text);
    EXPECT_EQ(testing::XmlError(text), "");
    ExpectXmllintAccepts(c.name, text);
  }
}

}  // namespace
}  // namespace dodu::handover
