#include "handover/document_writer.h"

#include <gtest/gtest.h>

#include "handover/testutil.h"

namespace dodu::handover {
namespace {

using testing::BaseSnapshot;
using testing::BaseVars;
using testing::ScriptedDialog;

TEST(DocumentWriterTest, Smoke) {
  auto vars = BaseVars();
  Snapshot in = BaseSnapshot();
  ScriptedDialog dialog;
  auto text = DeclarationText(in, vars.map, dialog);
  ASSERT_TRUE(text.ok()) << text.status().ToString();
  EXPECT_EQ(testing::XmlError(*text), "");
}

}  // namespace
}  // namespace dodu::handover
