// Renders a print work file to an A4 PDF: the base-14 Courier font at normal
// pitch (80 columns) and condensed pitch (135 columns across the same width),
// 66 lines a page, form feeds, pitch characters and overprint honoured as
// print_stream.h reads them. Code page 850 text is drawn in the PDF's Latin
// encoding; the box-drawing characters become + - |.
#ifndef DODU_PRINT_PDF_RENDERER_H_
#define DODU_PRINT_PDF_RENDERER_H_

#include <string>
#include <string_view>
#include <vector>

#include "platform/env.h"
#include "platform/status.h"
#include "print/print_stream.h"

namespace dodu::print {

struct PdfOptions {
  int lines_per_page = 66;
  std::string title;  // the document's title (the print job's name)
};

// The PDF of `pages`; at least one page (a blank one for no pages).
Result<std::string> RenderPdf(const std::vector<PrintedPage>& pages, const PdfOptions& options);

// Reads the print file `from`, renders it and writes the PDF to `to` (through a
// temporary file and a rename: a failed render leaves no half file). The page
// count when done.
Result<int> RenderPrintFile(platform::Env& env, const std::string& from, const std::string& to,
                            const PdfOptions& options);

// One code page 850 character in the PDF's WinAnsi encoding.
char PdfChar(unsigned char cp850);

}  // namespace dodu::print

#endif  // DODU_PRINT_PDF_RENDERER_H_
