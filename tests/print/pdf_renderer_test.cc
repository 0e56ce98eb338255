#include "print/pdf_renderer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "core/codepage.h"
#include "platform/env.h"
#include "platform/testutil.h"

namespace dodu::print {
namespace {

// Runs a poppler tool on `pdf` and returns what it printed; skips without it.
std::string Poppler(const std::string& command) {
  std::string out;
  FILE* p = popen((command + " 2>/dev/null").c_str(), "r");
  if (p == nullptr) return out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  pclose(p);
  return out;
}

// xMin and yMin of the first word `word` of pdftotext's -bbox output.
std::pair<double, double> WordAt(const std::string& bbox, const std::string& word) {
  size_t at = bbox.find(">" + word + "<");
  if (at == std::string::npos) return {-1, -1};
  size_t x = bbox.rfind("xMin=\"", at), y = bbox.rfind("yMin=\"", at);
  return {std::atof(bbox.c_str() + x + 6), std::atof(bbox.c_str() + y + 6)};
}

int PageCount(const std::string& pdfinfo) {
  size_t at = pdfinfo.find("Pages:");
  return at == std::string::npos ? -1 : std::atoi(pdfinfo.c_str() + at + 6);
}

// Left edge of the text and the width of one column at each pitch, in points.
constexpr double kMargin = (595.276 - 560.0) / 2, kNormalColumn = 7.0, kCondensedColumn = 560.0 / 135;

class PdfRendererTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) {
      GTEST_SKIP() << "poppler-utils not installed";
    }
    env_ = platform::NewPosixEnv();
  }
  std::unique_ptr<platform::Env> env_;
  testing::TempDir dir_;
};

TEST_F(PdfRendererTest, PagesPitchesAndOverprintReadBackAtTheirPlaces) {
  std::string job;
  job += "PAGINA UM" + std::string(20, ' ') + "coluna 29\r\n";
  job += "\r\n";
  job += "\x0F" + std::string(100, ' ') + "condensado na 100\x12\r\n";
  job += "SALDO\r" + std::string(40, ' ') + "sobreposto\x0C\r";  // page break after the text
  job += core::Cp850("DECLARAÇÃO DE AJUSTE") + "\r\n";
  job += "\x0C\r\x0C\r";  // an empty third page
  job += "QUARTA\x0C\r";
  const std::string txt = dir_ / "NAO-DOS.TXT";
  const std::string pdf = dir_ / "job.pdf";
  ASSERT_OK(platform::WriteFileAtomic(*env_, txt, job));
  Result<int> pages = RenderPrintFile(*env_, txt, pdf, {.lines_per_page = 66, .title = "teste"});
  ASSERT_OK(pages);
  EXPECT_EQ(*pages, 4);  // the empty third page stays; the final break adds none

  const std::string info = Poppler("pdfinfo '" + pdf + "'");
  EXPECT_EQ(PageCount(info), 4) << info;
  EXPECT_NE(info.find("595.276 x 841.89 pts (A4)"), std::string::npos) << info;
  const std::string bbox = Poppler("pdftotext -bbox -f 1 -l 1 '" + pdf + "' -");
  EXPECT_NEAR(WordAt(bbox, "coluna").first, kMargin + 29 * kNormalColumn, 0.5) << bbox;
  EXPECT_NEAR(WordAt(bbox, "condensado").first, kMargin + 100 * kCondensedColumn, 0.5) << bbox;
  // The overprinted text stands on the line of what it overprints, from the margin.
  EXPECT_NEAR(WordAt(bbox, "SALDO").first, kMargin, 0.5);
  EXPECT_NEAR(WordAt(bbox, "sobreposto").first, kMargin + 40 * kNormalColumn, 0.5) << bbox;
  EXPECT_NEAR(WordAt(bbox, "sobreposto").second, WordAt(bbox, "SALDO").second, 0.5);
  EXPECT_GT(WordAt(bbox, "condensado").second, WordAt(bbox, "coluna").second + 20);  // two lines down
  const std::string second = Poppler("pdftotext -layout -f 2 -l 2 '" + pdf + "' -");
  EXPECT_NE(second.find("DECLARAÇÃO DE AJUSTE"), std::string::npos) << second;
  const std::string fourth = Poppler("pdftotext -layout -f 4 -l 4 '" + pdf + "' -");
  EXPECT_NE(fourth.find("QUARTA"), std::string::npos) << fourth;
}

TEST_F(PdfRendererTest, CondensedColumnsFitTheSameWidth) {
  // 135 condensed columns end where 80 normal ones do: both lines fit the page.
  std::string job = std::string(80, 'N') + "\r\n\x0F" + std::string(135, 'c') + "\x12\r\n";
  const std::string txt = dir_ / "W.TXT", pdf = dir_ / "w.pdf";
  ASSERT_OK(platform::WriteFileAtomic(*env_, txt, job));
  ASSERT_OK(RenderPrintFile(*env_, txt, pdf, {}));
  const std::string text = Poppler("pdftotext -raw '" + pdf + "' -");
  EXPECT_NE(text.find(std::string(80, 'N')), std::string::npos);
  EXPECT_NE(text.find(std::string(135, 'c')), std::string::npos);
  const std::string bbox = Poppler("pdftotext -bbox '" + pdf + "' -");
  // Both words end at the same right edge, within a point.
  auto x_max = [&](const std::string& word) {
    size_t at = bbox.find(">" + word + "<");
    size_t key = bbox.rfind("xMax=\"", at);
    return std::atof(bbox.c_str() + key + 6);
  };
  EXPECT_NEAR(x_max(std::string(80, 'N')), x_max(std::string(135, 'c')), 1.0);
}

TEST(PdfCharTest, BoxDrawingAndAccentsHaveAGlyph) {
  EXPECT_EQ(PdfChar('A'), 'A');
  EXPECT_EQ(PdfChar(0x87), '\xE7');  // ç
  EXPECT_EQ(PdfChar(0xC4), '-');     // ─
  EXPECT_EQ(PdfChar(0xB3), '|');     // │
  EXPECT_EQ(PdfChar(0xDA), '+');     // ┌
  EXPECT_EQ(PdfChar(0xB0), '#');     // ░
}

}  // namespace
}  // namespace dodu::print
