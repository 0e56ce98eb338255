#include "handover/receipts.h"

#include <cstdio>

#include "core/codepage.h"
#include "core/ids.h"
#include "handover/value_formats.h"

namespace dodu::handover {
namespace {

// Positions are 1-based and inclusive, as the file layout gives them; a line
// too short gives what it has.
std::string Cut(std::string_view line, size_t from, size_t to) {
  if (from > line.size()) return "";
  return std::string(line.substr(from - 1, to - from + 1));
}

int Int(std::string_view s) {
  auto d = core::Decimal::Parse(s);
  return d ? static_cast<int>(d->ToScaled(0)) : 0;
}

std::string Dmy(std::string_view d, std::string_view m, std::string_view y) {
  return std::string(d) + "/" + std::string(m) + "/" + std::string(y);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size() - 1;
    lines.push_back(text.substr(start, end - start + 1));  // the line end kept
    start = end + 1;
  }
  return lines;
}

std::string StripEnd(std::string s) {
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
  return s;
}

}  // namespace

std::string ReceiptWithDigits(std::string_view ten) {
  std::string digits(ten);
  digits += core::Modulo11(digits, '0');
  digits += core::Modulo11(digits, '0');
  return digits;
}

Result<ReceiptInfo> FindReceipts(platform::Env& env, Dialog& dialog, const std::string& folder,
                                 std::string_view cpf, ReceiptMode mode) {
  auto entries = env.ListDir(folder);
  if (!entries.ok()) return Status::NotFound(folder + ": no folder of transmitted declarations");
  std::string name;
  for (const auto& e : *entries) {
    if (e.is_dir || e.name.size() < cpf.size() + 4) continue;
    std::string upper_ext = e.name.substr(e.name.size() - 4);
    for (char& c : upper_ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (e.name.compare(0, cpf.size(), cpf) == 0 && upper_ext == ".DEC") {
      name = e.name;
      break;
    }
  }
  if (name.empty()) return Status::NotFound(folder + ": no declaration of " + std::string(cpf));
  const std::string path = folder + "/" + name;
  auto text = platform::ReadWholeFile(env, path);
  if (!text.ok()) {
    dialog.Box(8, {"Erro de leitura"});
    return text.status();
  }
  if (text->empty()) return Status::NotFound(path + ": empty");
  const std::string header = StripEnd(Lines(*text).front());

  ReceiptInfo info;
  if (mode == ReceiptMode::kTwoYearsBefore) {
    info.reciboate = Cut(header, 102, 111);
    return info;
  }
  if (Cut(header, 21, 21) == "1") info.nrorecibo = ReceiptWithDigits(Cut(header, 124, 133));
  info.reciboatu = ReceiptWithDigits(Cut(header, 165, 174));
  info.reciboant = ReceiptWithDigits(Cut(header, 204, 213));

  const std::string rec_path =
      path.substr(0, path.size() - 4) + (name.back() == 'c' ? ".rec" : ".REC");
  auto rec = platform::ReadWholeFile(env, rec_path);
  if (!rec.ok()) return info;
  for (const std::string& raw : Lines(*rec)) {
    const std::string line = StripEnd(raw);
    const std::string type = line.substr(0, 2);
    if (type == "TC") break;
    if (type == "RC") {
      info.delivered = core::Date::FromYmd(Int(Cut(line, 21, 24)), Int(Cut(line, 19, 20)),
                                           Int(Cut(line, 17, 18)));
    } else if (type == "NC" && Int(Cut(line, 3, 5)) > 0) {
      auto cents = core::Decimal::Parse(Cut(line, 140, 153));
      core::Decimal amount =
          cents ? cents->Div(core::Decimal::FromInt(100), 2, core::Rounding::kHalfAwayFromZero)
                : core::Decimal();
      info.notes.push_back("Existe multa de R$ " + FormatNumber(amount, NumberFormat::kAmount) +
                           " datado de " +
                           Dmy(Cut(line, 136, 137), Cut(line, 134, 135), Cut(line, 130, 133)) +
                           " com " + Cut(line, 138, 139) + " meses de atraso");
    } else if (type == "VC") {
      for (int i = 1; i <= 5; ++i) {
        if (Cut(line, 2 + i, 2 + i) == "1") {
          char year[16];
          std::snprintf(year, sizeof year, "%10d", 2020 - i);
          info.notes.push_back(std::string("Existe pendencia na declaracao de ") + year);
        }
      }
      info.rectifications = Int(Cut(line, 8, 10));
      const std::string date = Dmy(Cut(line, 12, 13), Cut(line, 14, 15), Cut(line, 16, 19));
      if (Cut(line, 11, 11) == "1") info.notes.push_back("Existe debito Pendente em " + date);
      if (Cut(line, 20, 20) == "1") {
        info.notes.push_back("Existe Saldo de Restituicao na Receita nao resgatado em " + date);
      }
    } else if (type == "MC") {
      // The message runs from position 3 for (line length with its end - 14).
      long length = static_cast<long>(raw.size()) - 14;
      std::string message =
          length > 0 ? core::AjusCar(Cut(line, 3, 2 + static_cast<size_t>(length))) : "";
      for (size_t at = 0; at < message.size(); at += 75)
        info.notes.push_back(message.substr(at, 75));
    }
  }
  return info;
}

void ApplyReceipts(const ReceiptInfo& info, core::Variables& vars) {
  auto text = [&](const char* name, const std::string& v) {
    if (vars.Has(name) && vars.Type(name) == core::ValueType::kText) vars.SetText(name, v);
  };
  text("NRORECIBO", info.nrorecibo);
  text("RECIBOATU", info.reciboatu);
  text("RECIBOANT", info.reciboant);
  if (info.delivered && vars.Has("DENTREGA")) vars.SetDate("DENTREGA", *info.delivered);
  if (info.rectifications) {
    if (vars.Has("NRETIF")) vars.SetNumber("NRETIF", core::Decimal::FromInt(*info.rectifications));
    text("RETIFICA", *info.rectifications > 0 ? "S" : "");
  }
}

}  // namespace dodu::handover
