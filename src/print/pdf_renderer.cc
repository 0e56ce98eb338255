#include "print/pdf_renderer.h"

#include <hpdf.h>

#include <array>
#include <cstring>
#include <memory>
#include <span>

#include "core/codepage.h"

namespace dodu::print {
namespace {

// A4 in points; the text area is 560 points wide (80 normal columns of 7 points,
// 135 condensed ones of 4.148) and 66 lines of 12 points.
constexpr float kPageWidth = 595.276f;
constexpr float kPageHeight = 841.89f;
constexpr float kTextWidth = 560.0f;
constexpr float kLeft = (kPageWidth - kTextWidth) / 2;
constexpr float kTop = 25.0f;
constexpr float kCourierAdvance = 0.6f;  // a Courier glyph is 0.6 em wide

struct HaruError {
  HPDF_STATUS code = HPDF_OK;
};

void OnHaruError(HPDF_STATUS error_no, HPDF_STATUS, void* user_data) {
  auto* e = static_cast<HaruError*>(user_data);
  if (e->code == HPDF_OK) e->code = error_no;
}

struct DocDeleter {
  void operator()(HPDF_Doc d) const { HPDF_Free(d); }
};

char BoxChar(char32_t u) {
  if (u >= 0x2500 && u <= 0x257F) {
    // Horizontal lines, vertical lines, and every corner or crossing.
    if (u == 0x2500 || u == 0x2550) return '-';
    if (u == 0x2502 || u == 0x2551) return '|';
    return '+';
  }
  if (u >= 0x2580 && u <= 0x259F) return '#';  // blocks and shades
  return '?';
}

std::array<char, 256> BuildPdfTable() {
  std::array<char, 256> table{};
  // Unicode -> cp1252 for the upper half of cp1252.
  for (int c = 0; c < 256; ++c) {
    const char32_t u = core::Cp850ToUnicode(static_cast<uint8_t>(c));
    char out = '?';
    if (u < 0x80) {
      out = static_cast<char>(u);
    } else {
      for (int w = 0x80; w < 256; ++w) {
        if (core::Cp1252ToUnicode(static_cast<uint8_t>(w)) == u) {
          out = static_cast<char>(w);
          break;
        }
      }
      if (out == '?') out = BoxChar(u);
    }
    table[static_cast<size_t>(c)] = out;
  }
  return table;
}

}  // namespace

char PdfChar(unsigned char cp850) {
  static const std::array<char, 256> table = BuildPdfTable();
  return table[cp850];
}

Result<std::string> RenderPdf(const std::vector<PrintedPage>& pages, const PdfOptions& options) {
  HaruError error;
  std::unique_ptr<std::remove_pointer_t<HPDF_Doc>, DocDeleter> doc(HPDF_New(OnHaruError, &error));
  if (!doc) return Status::IoError("PDF: cannot start a document");
  HPDF_SetCompressionMode(doc.get(), HPDF_COMP_ALL);
  if (!options.title.empty()) {
    HPDF_SetInfoAttr(doc.get(), HPDF_INFO_TITLE, options.title.c_str());
  }
  HPDF_Font font = HPDF_GetFont(doc.get(), "Courier", "WinAnsiEncoding");
  const int lines = options.lines_per_page < 1 ? 66 : options.lines_per_page;
  const float line_height = (kPageHeight - 2 * kTop) / static_cast<float>(lines < 66 ? 66 : lines);
  const float unit = kTextWidth / static_cast<float>(kLineUnits);
  const float normal_size = kNormalWidth * unit / kCourierAdvance;
  const float condensed_size = kCondensedWidth * unit / kCourierAdvance;

  const std::vector<PrintedPage> blank(1);
  for (const PrintedPage& p : pages.empty() ? blank : pages) {
    HPDF_Page page = HPDF_AddPage(doc.get());
    HPDF_Page_SetWidth(page, kPageWidth);
    HPDF_Page_SetHeight(page, kPageHeight);
    for (const PrintedLine& line : p.lines) {
      const float y = kPageHeight - kTop - line_height * static_cast<float>(line.line + 1) + 3;
      for (const PrintedRun& run : line.runs) {
        std::string text;
        text.reserve(run.text.size());
        for (char c : run.text) text += PdfChar(static_cast<unsigned char>(c));
        HPDF_Page_BeginText(page);
        HPDF_Page_SetFontAndSize(page, font, run.condensed ? condensed_size : normal_size);
        HPDF_Page_TextOut(page, kLeft + static_cast<float>(run.x) * unit, y, text.c_str());
        HPDF_Page_EndText(page);
      }
    }
    if (error.code != HPDF_OK) break;
  }
  if (error.code == HPDF_OK) HPDF_SaveToStream(doc.get());
  if (error.code != HPDF_OK) {
    return Status::IoError("PDF: libharu error " + std::to_string(error.code));
  }
  HPDF_UINT32 size = HPDF_GetStreamSize(doc.get());
  std::string out(size, '\0');
  HPDF_UINT32 got = size;
  HPDF_ReadFromStream(doc.get(), reinterpret_cast<HPDF_BYTE*>(out.data()), &got);
  out.resize(got);
  return out;
}

Result<int> RenderPrintFile(platform::Env& env, const std::string& from, const std::string& to,
                            const PdfOptions& options) {
  DODU_ASSIGN_OR_RETURN(std::string bytes, platform::ReadWholeFile(env, from));
  const std::vector<PrintedPage> pages = ReadPrintStream(bytes, options.lines_per_page);
  DODU_ASSIGN_OR_RETURN(std::string pdf, RenderPdf(pages, options));
  DODU_RETURN_IF_ERROR(platform::WriteFileAtomic(env, to, pdf));
  return pages.empty() ? 1 : static_cast<int>(pages.size());
}

}  // namespace dodu::print
