#include "screen/colour_editor.h"

#include <gtest/gtest.h>

#include "screen/toolkit_sink.h"
#include "testutil.h"

namespace dodu::screen {
namespace {

using testing::ScreenTest;

class ColourEditorTest : public ScreenTest {};

TEST_F(ColourEditorTest, ArrowsChangeTheColourAndTheRecordIsSaved) {
  std::vector<ColourSettings> saved;
  // COR_ESCOL starts at 79 (W+/R): Left -> 78 (GR+/R), Down -> background 5.
  term_.Feed("{Left}{Down}{Enter}");
  Status st = MODCOR(tk_, 3, [&](const ColourSettings& c) {
    saved.push_back(c);
    return Status::Ok();
  });
  ASSERT_TRUE(st.ok());
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_EQ(saved[0].COR_ESCOL, 0x5E);
  EXPECT_EQ(saved[0].COR_ESC_CL, "GR+/BR");
  EXPECT_EQ(saved[0].COR_FERID, 0x5C);
  EXPECT_EQ(tk_.colours().COR_ESCOL, 0x5E);
  EXPECT_EQ(tk_.dialog_count(), 1u);
}

TEST_F(ColourEditorTest, PaletteDoesNotWrapAndMarksTheCurrentColour) {
  // COR_TEL1 is 30 (GR+/B): background 1, foreground 14.
  term_.Feed("{Up}{Up}{Right}{Right}{Right}");
  EXPECT_THROW(MODCOR(tk_, 1, nullptr), ScriptExhausted);
  EXPECT_EQ(tk_.colours().COR_TEL1, 0x0F);
  EXPECT_EQ(tk_.colours().COR_1_CLI, "W+/N");
  EXPECT_EQ(term_.At(5, 8 + 2 * 15).ch, '*');
  EXPECT_EQ(term_.At(5, 8 + 2 * 15).attr, 0x0F);
  EXPECT_EQ(term_.At(6, 8).ch, 0xFE);
}

TEST_F(ColourEditorTest, BackgroundItemRefillsTheScreen) {
  term_.Feed("{Down}{Esc}");
  ASSERT_TRUE(MODCOR(tk_, 7, nullptr).ok());
  EXPECT_EQ(tk_.colours().COR_ENCHE, 0x2F);
  EXPECT_EQ(tk_.colours().COR_ENCH_C, "W+/G");
  EXPECT_EQ(term_.At(0, 0).attr, 0x2F);
  EXPECT_EQ(term_.At(24, 79).attr, 0x2F);
  EXPECT_EQ(term_.At(5, 8).attr, 0x2F);  // the palette is gone
}

TEST_F(ColourEditorTest, SaveFailureIsReturned) {
  term_.Feed("{Enter}");
  Status st = MODCOR(tk_, 2, [](const ColourSettings&) { return Status::Locked("CORES.DBF"); });
  EXPECT_TRUE(st.IsLocked());
  EXPECT_TRUE(MODCOR(tk_, 8, nullptr).code() == StatusCode::kInvalid);
}

TEST_F(ColourEditorTest, CompositesAreRebuilt) {
  term_.Feed("{Enter}");
  ASSERT_TRUE(MODCOR(tk_, 5, nullptr).ok());
  EXPECT_EQ(tk_.colours().CORNORM, "N/W+,W/N,\"N/N\",\"N/N\",N/W+");
  EXPECT_EQ(tk_.colours().CORMENU, "GR+/B,W/R+,W+/B,W+/B,W+/B,W+/B");
}

class SinkTest : public ScreenTest {};

TEST_F(SinkTest, BoxToneAndStatusGoThroughTheToolkit) {
  ToolkitMessageSink sink(tk_);
  term_.Feed("{Enter}");
  sink.Box(8, {"Arquivo IMP0920.DBF danificado"}, "");
  sink.Tone(800, 100);
  sink.StatusText("Aguarde...");
  ASSERT_EQ(term_.boxes().size(), 1u);
  EXPECT_EQ(term_.boxes()[0].style, 8);
  EXPECT_EQ(term_.boxes()[0].title, "ERRO");
  EXPECT_EQ(term_.tones().back(), (VirtualTerminal::ToneRecord{800, 100}));
  EXPECT_EQ(term_.status_part(0), "Aguarde...");
}

class ClipboardTest : public ScreenTest {};

// Fault mended: pasted text reached the field with line breaks, tabs and more
// characters than the field holds.
TEST_F(ClipboardTest, PasteDropsControlsAndCutsToTheWidth) {
  term_.set_clipboard_text("Jo\xC6o\r\n\tda Silva e Souza");
  EXPECT_EQ(tk_.ClipboardForField(12), "Jo\xC6o" "da Silva");
  term_.set_clipboard_text("");
  EXPECT_EQ(tk_.ClipboardForField(5), "");
  tk_.CopyToClipboard("123");
  EXPECT_EQ(term_.clipboard_sets(), std::vector<std::string>{"123"});
}

}  // namespace
}  // namespace dodu::screen
