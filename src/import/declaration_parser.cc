#include <algorithm>
#include <cctype>

#include "core/codepage.h"
#include "core/ids.h"
#include "import/declaration_file.h"

namespace dodu::import {
namespace {

struct Line {
  std::string_view text;   // without terminator
  size_t full_length = 0;  // with its terminator
};

std::vector<Line> CutLines(std::string_view bytes) {
  std::vector<Line> lines;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = pos;
    while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\0') ++end;
    size_t next = end < bytes.size() ? end + 1 : end;
    std::string_view text = bytes.substr(pos, end - pos);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    lines.push_back({text, next - pos});
    pos = next;
  }
  return lines;
}

std::string TypeOf(std::string_view line) { return std::string(line.substr(0, 2)); }

// The order of the record types of a declaration: 16 .. 92, then T9.
int TypeOrder(std::string_view type) {
  if (type == "T9") return 99;
  if (type.size() == 2 && std::isdigit(static_cast<unsigned char>(type[0])) &&
      std::isdigit(static_cast<unsigned char>(type[1]))) {
    return (type[0] - '0') * 10 + (type[1] - '0');
  }
  return -1;
}

Status Damaged(std::string_view file, int line, std::string_view type, std::string_view detail) {
  std::string shown_type;
  for (char c : type) shown_type += (static_cast<unsigned char>(c) < 0x20) ? '?' : c;
  std::string text = "Arquivo " + std::string(file) + " incompleto ou danificado (linha " +
                     std::to_string(line) + ", registro " + shown_type;
  if (!detail.empty()) text += ": " + std::string(detail);
  text += "). Nada foi gravado.";
  return Status::Corrupt(core::Cp850(text));
}

Result<ParsedRecord> Read(std::string_view file, const RecordLayout& layout, const Line& line,
                          int line_no, Exercise exercise) {
  Result<ParsedRecord> r = ParseRecord(layout, line.text, line_no, exercise);
  if (!r.ok()) return Damaged(file, line_no, layout.type, r.status().message());
  return r;
}

}  // namespace

std::vector<std::string_view> SplitLines(std::string_view bytes) {
  std::vector<std::string_view> out;
  for (const Line& l : CutLines(bytes)) out.push_back(l.text);
  return out;
}

std::string ReceiptWithDigits(std::string_view ten_digits) {
  std::string digits(ten_digits);
  while (!digits.empty() && digits.back() == ' ') digits.pop_back();
  if (digits.empty() ||
      std::all_of(digits.begin(), digits.end(), [](char c) { return c == '0'; })) {
    return "";
  }
  digits += core::Modulo11(digits, '0');
  digits += core::Modulo11(digits, '0');
  return digits;
}

std::vector<const ParsedRecord*> DeclarationFile::OfType(std::string_view type) const {
  std::vector<const ParsedRecord*> out;
  for (const ParsedRecord& r : records) {
    if (r.type() == type) out.push_back(&r);
  }
  return out;
}

Result<DeclarationFile> ParseDeclarationFile(std::string_view file_name, std::string_view bytes,
                                             bool prefilled) {
  std::vector<Line> lines = CutLines(bytes);
  DeclarationFile out;
  out.file_name = std::string(file_name);
  out.prefilled = prefilled;
  if (lines.empty()) return Damaged(file_name, 1, "", "arquivo vazio");

  const RecordLayout& header_layout = *FindLayout(FileKind::kDeclaration, "IR");
  Result<ParsedRecord> header = ParseRecord(header_layout, lines[0].text, 1, Exercise::kCurrent);
  if (!header.ok()) return Damaged(file_name, 1, TypeOf(lines[0].text), header.status().message());
  DeclarationHeader& h = out.header;
  h.kind = header->Text("KIND");
  h.tipo = header->Text("TIPO");
  h.exercise = header->Int("EXERCICIO");
  h.recnet = header->Text("CODRECNET");
  h.rectifying = header->Text("RETIFICADORA") == "1";
  if (h.rectifying) h.rectified_receipt = ReceiptWithDigits(header->Text("RECIBO_RETIF"));
  h.receipt = ReceiptWithDigits(header->Text("RECIBO"));
  h.previous_receipt = ReceiptWithDigits(header->Text("RECIBO_ANT"));

  if (prefilled) {
    out.exercise = Exercise::kCurrent;
    h.rectified_receipt.clear();
    h.receipt.clear();
  } else if (h.exercise == 2019) {
    out.exercise = Exercise::kPrevious;
  } else if (h.exercise == 2020) {
    out.exercise = Exercise::kCurrent;
  } else {
    return Damaged(file_name, 1, TypeOf(lines[0].text),
                   "exercício " + std::to_string(h.exercise) + " não é 2019 nem 2020");
  }

  size_t at = prefilled ? 2 : 1;
  if (at >= lines.size() || TypeOf(lines[at].text) != "16") {
    return Status::Invalid(core::Cp850("Leiaute diferente do esperado.Não é possível converter"));
  }
  const RecordLayout& id_layout = *FindLayout(FileKind::kDeclaration, "16");
  DODU_ASSIGN_OR_RETURN(out.identification, Read(file_name, id_layout, lines[at],
                                                 static_cast<int>(at) + 1, out.exercise));
  const std::string cpf = out.identification.Text("CPF");
  if (cpf.size() != 11 ||
      !std::all_of(cpf.begin(), cpf.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return Damaged(file_name, static_cast<int>(at) + 1, "16", "CPF inválido");
  }

  int last_order = 16;
  for (size_t i = at + 1; i < lines.size(); ++i) {
    const int line_no = static_cast<int>(i) + 1;
    const std::string type = TypeOf(lines[i].text);
    const int order = TypeOrder(type);
    const RecordLayout* layout = FindLayout(FileKind::kDeclaration, type);
    if (layout == nullptr || order < 17) {
      return Damaged(file_name, line_no, type, "tipo de registro desconhecido");
    }
    if (order < last_order) return Damaged(file_name, line_no, type, "fora de ordem");
    last_order = order;
    if (lines[i].text.substr(2, 11) != cpf) {
      return Damaged(file_name, line_no, type, "CPF diferente do registro 16");
    }
    DODU_ASSIGN_OR_RETURN(ParsedRecord rec,
                          Read(file_name, *layout, lines[i], line_no, out.exercise));
    if (type == "T9") {
      out.end_line = line_no;
      return out;
    }
    out.records.push_back(std::move(rec));
  }
  return Damaged(file_name, static_cast<int>(lines.size()) + 1, "T9", "registro final ausente");
}

Result<LeaoFile> ParseLeaoFile(std::string_view file_name, std::string_view bytes) {
  std::vector<Line> lines = CutLines(bytes);
  LeaoFile out;
  out.file_name = std::string(file_name);
  size_t first = 0;
  if (!lines.empty() && TypeOf(lines[0].text) != "01") first = 1;
  if (first >= lines.size() || TypeOf(lines[first].text) != "01") {
    return Status::Invalid(core::Cp850("Leiaute diferente do esperado.Não é possível converter"));
  }
  DODU_ASSIGN_OR_RETURN(out.first, Read(file_name, *FindLayout(FileKind::kLeao, "01"), lines[first],
                                        static_cast<int>(first) + 1, Exercise::kCurrent));
  for (size_t i = first + 1; i < lines.size(); ++i) {
    const int line_no = static_cast<int>(i) + 1;
    const std::string type = TypeOf(lines[i].text);
    if (type == "02") {
      if (out.months.size() == 12) return Damaged(file_name, line_no, type, "mais de 12 meses");
      DODU_ASSIGN_OR_RETURN(ParsedRecord r, Read(file_name, *FindLayout(FileKind::kLeao, "02"),
                                                 lines[i], line_no, Exercise::kCurrent));
      out.months.push_back(std::move(r));
    } else if (type == "03") {
      const bool with_day =
          lines[i].text.size() > 2 && std::isalpha(static_cast<unsigned char>(lines[i].text[2]));
      const RecordLayout& l = *FindLayout(FileKind::kLeao, with_day ? "03d" : "03");
      DODU_ASSIGN_OR_RETURN(ParsedRecord r,
                            Read(file_name, l, lines[i], line_no, Exercise::kCurrent));
      if (with_day && !core::Date::FromYmd(2019, r.Int("MONTH"), r.Int("DAY"))) {
        return Damaged(file_name, line_no, type, "dia inválido");
      }
      out.works.push_back(std::move(r));
    }
  }
  return out;
}

Result<ReceiptFile> ParseReceiptFile(std::string_view file_name, std::string_view bytes) {
  ReceiptFile out;
  std::vector<Line> lines = CutLines(bytes);
  for (size_t i = 0; i < lines.size(); ++i) {
    const int line_no = static_cast<int>(i) + 1;
    const std::string type = TypeOf(lines[i].text);
    if (type == "TC") break;
    if (type == "MC") {
      // The message runs from position 3 for the line's length, its end
      // included, less 14.
      size_t len = lines[i].full_length >= 14 ? lines[i].full_length - 14 : 0;
      std::string_view msg = lines[i].text.size() > 2 ? lines[i].text.substr(2, len) : "";
      out.messages.push_back(core::AjusCar(msg));
      continue;
    }
    const RecordLayout* layout = FindLayout(FileKind::kReceipt, type);
    if (layout == nullptr) continue;
    DODU_ASSIGN_OR_RETURN(ParsedRecord r,
                          Read(file_name, *layout, lines[i], line_no, Exercise::kCurrent));
    out.records.push_back(std::move(r));
  }
  return out;
}

}  // namespace dodu::import
