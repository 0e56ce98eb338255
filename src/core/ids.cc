#include "core/ids.h"

#include <array>
#include <vector>

#include "core/alerts.h"
#include "core/codepage.h"
#include "core/id_format.h"
#include "core/picture.h"

namespace dodu::core {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsBlank(std::string_view s) { return s.find_first_not_of(' ') == std::string_view::npos; }

std::string_view Trim(std::string_view s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

bool AllDigits(std::string_view s, size_t count) {
  if (s.size() != count) return false;
  for (char c : s) {
    if (!IsDigit(c)) return false;
  }
  return true;
}

// Characters [pos, pos + n) of s, shorter (or empty) past its end, as SUBSTR().
std::string_view Sub(std::string_view s, size_t pos, size_t n) {
  if (pos >= s.size()) return {};
  return s.substr(pos, n);
}

int Mod11Zero10(int sum) {
  int r = sum % 11;
  return r == 10 ? 0 : r;
}

std::string TwoDigits(int n) {
  return std::string{static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

// "11 digits grouped 3.5.2-1": the only NIT form CpfCgc lets through unchecked.
bool IsNitForm(std::string_view v) {
  static constexpr std::string_view kShape = "999.99999.99-9";
  if (v.size() != kShape.size()) return false;
  for (size_t i = 0; i < v.size(); ++i) {
    if (kShape[i] == '9' ? !IsDigit(v[i]) : v[i] != kShape[i]) return false;
  }
  return true;
}

void WrongDigits(platform::MessageSink& sink, const char* what, const std::string& shown,
                 const std::string& digits) {
  ErrorBox(sink, {Cp850("ATENÇÃO! ") + what + " " + shown + Cp850(" está incorreto. "),
                  Cp850("O dígito para esse número é:") + digits});
}

}  // namespace

std::optional<std::string> CpfDigits(std::string_view base9) {
  if (!AllDigits(base9, 9)) return std::nullopt;
  int a = 0, b = 0;
  for (int i = 1; i <= 9; ++i) {
    a += (base9[i - 1] - '0') * i;
    b += (base9[9 - i] - '0') * i;
  }
  int first = a % 11;
  if (first == 10) {
    first = 0;
    b += 9;
  }
  int second = Mod11Zero10(b);
  return TwoDigits(first * 10 + second);
}

std::optional<std::string> CaepfDigits(std::string_view base12) {
  if (!AllDigits(base12, 12)) return std::nullopt;
  // Weights 9, 8, ... 2, 9, 8 ... walking from the last digit to the first.
  auto walk = [](std::string_view digits) {
    int sum = 0, weight = 9;
    for (size_t i = digits.size(); i-- > 0;) {
      sum += (digits[i] - '0') * weight;
      if (--weight < 2) weight = 9;
    }
    return Mod11Zero10(sum);
  };
  int r1 = walk(base12);
  std::string with_r1 = std::string(base12) + static_cast<char>('0' + r1);
  int r2 = walk(with_r1);
  int check = r1 * 10 + r2 + 12;
  if (check > 99) check -= 100;
  return TwoDigits(check);
}

std::optional<std::string> CnpjDigits(std::string_view base12) {
  if (!AllDigits(base12, 12)) return std::nullopt;
  static constexpr std::array<int, 12> kW1 = {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
  static constexpr std::array<int, 12> kW2 = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3};
  auto digit = [](int sum) {
    int r = sum % 11;
    return r < 2 ? 0 : 11 - r;
  };
  int s1 = 0, s2 = 0;
  for (int i = 0; i < 12; ++i) {
    s1 += (base12[i] - '0') * kW1[i];
    s2 += (base12[i] - '0') * kW2[i];
  }
  int first = digit(s1);
  int second = digit(s2 + 2 * first);
  return TwoDigits(first * 10 + second);
}

std::optional<char> NitDigit(std::string_view base10) {
  if (!AllDigits(base10, 10)) return std::nullopt;
  static constexpr std::array<int, 10> kW = {3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
  int sum = 0;
  for (int i = 0; i < 10; ++i) sum += (base10[i] - '0') * kW[i];
  int r = sum % 11;
  return static_cast<char>('0' + (r < 2 ? 0 : 11 - r));
}

std::optional<char> RenavamDigit(std::string_view base10) {
  if (!AllDigits(base10, 10)) return std::nullopt;
  // From the 10th digit down to the 1st: weights 2..9, then 2, 3.
  static constexpr std::array<int, 10> kW = {2, 3, 4, 5, 6, 7, 8, 9, 2, 3};
  int sum = 0;
  for (int i = 0; i < 10; ++i) sum += (base10[9 - i] - '0') * kW[i];
  return static_cast<char>('0' + Mod11Zero10(sum * 10));
}

std::string Modulo11(std::string_view digits, char substitute) {
  std::string_view t = Trim(digits);
  if (t.empty()) return "";
  const int n = static_cast<int>(t.size());
  int sum = 0;
  for (int i = 1; i <= n; ++i) {
    char c = t[i - 1];
    sum += (IsDigit(c) ? c - '0' : 0) * (n + 2 - i);
  }
  int dv = 11 - sum % 11;
  return std::string(1, dv > 9 ? substitute : static_cast<char>('0' + dv));
}

bool ValCpf(platform::MessageSink& sink, std::string_view value, bool required, CpfMode mode,
            const TaxpayerNameHook& on_clear_name) {
  if (IsBlank(value)) {
    if (!required) return true;
    if (mode == CpfMode::kSelection) {
      if (on_clear_name) on_clear_name(std::string(53, ' '));
      return true;
    }
    return false;
  }
  const bool caepf = mode == CpfMode::kCaepf;
  const size_t base_len = caepf ? 12 : 9;
  std::string base;
  for (char c : Sub(value, 0, base_len)) {
    if (c != ' ') base += c;
  }
  std::optional<std::string> digits = caepf ? CaepfDigits(base) : CpfDigits(base);
  if (!digits) {
    // Too short, or something other than digits in the base (the old routine read
    // letters as zeros and could accept them).
    if (mode != CpfMode::kSelection) {
      ErrorBox(sink, {Cp850(caepf ? "ATENÇÃO! CAEPF está incompleto." : "ATENÇÃO! CPF está incompleto.")});
    }
    return false;
  }
  if (Sub(value, base_len, 2) == *digits) return true;
  std::string number(Sub(value, 0, base_len + 2));
  WrongDigits(sink, caepf ? "CAEPF" : "CPF", Transform(number, caepf ? kCaepfPicture : kCpfPicture),
              *digits);
  return false;
}

bool ValCgc(platform::MessageSink& sink, std::string_view value, bool required) {
  if (IsBlank(value)) return !required;
  std::optional<std::string> digits = CnpjDigits(Trim(Sub(value, 0, 12)));
  if (!digits) {
    ErrorBox(sink, {Cp850("ATENÇÃO! CNPJ está incompleto.")});
    return false;
  }
  if (Sub(value, 12, 2) == *digits) return true;
  WrongDigits(sink, "CNPJ", Transform(Sub(value, 0, 14), kCnpjPicture), *digits);
  return false;
}

bool CpfCgc(platform::MessageSink& sink, std::string_view value, bool required) {
  if (IsBlank(value)) return !required;
  const std::string p = PoePonto(Trim(value), 0);
  // The old routine let through any text whose 10th character was "."; only the
  // NIT written as 3.5.2-1 is meant.
  if (IsNitForm(Trim(p))) return true;
  // Text without a single digit would reach the checks below as an empty number
  // and pass; it gets the box about the number of digits instead.
  const std::string digits = TiraPonto(p);
  if (!digits.empty()) {
    if (p.size() >= 4 && (p[3] == '.' || p[3] == ' ')) {
      return ValCpf(sink, digits + "  ", required, CpfMode::kCpf);
    }
    if (p.size() >= 3 && p[2] == '.') return ValCgc(sink, digits + "  ", required);
  }
  ErrorBox(sink, {Cp850("Digite o CPF/CNPJ com número correto "),
                  Cp850("de dígitos, 11 para CPF e 14 para CNPJ,"),
                  Cp850("ou coloque os separadores no lugar correto."),
                  Cp850("CPF=nnn.nnn.nnn-nn CNPJ=nn.nnn.nnn/nnnn-nn ")});
  return false;
}

bool CpfCgc1(platform::MessageSink& sink, const FieldAccessor& field, bool required) {
  const std::string value = field.get();
  if (IsBlank(value)) return !required;
  std::string punctuated = PoePonto(Trim(value), 0);
  field.set(punctuated);
  return CpfCgc(sink, punctuated, required);
}

bool ValNit(platform::MessageSink& sink, std::string_view value, int mode) {
  if (IsBlank(value)) return true;
  const std::string digits = TiraPonto(value);
  if (digits.size() != 11) {
    ErrorBox(sink, {Cp850(mode == 1 ? "ATENÇÃO! O NIT do empregado está errado."
                                    : "ATENÇÃO! O NIT está incompleto... ")});
    return false;
  }
  if (*NitDigit(std::string_view(digits).substr(0, 10)) == digits[10]) return true;
  if (mode == 1) {
    ErrorBox(sink, {Cp850("ATENÇÃO! NIT está incorreto. "),
                    Cp850("Se estiver digitado CPF use seta direita"),
                    Cp850("até a última coluna e digite lá. ")});
  } else {
    ErrorBox(sink, {Cp850("ATENÇÃO! NIT está incorreto. ")});
  }
  return false;
}

bool VeNirf(platform::MessageSink& sink, std::string_view value) {
  if (IsBlank(value)) return true;
  std::string_view base = Sub(value, 0, 7);
  if (AllDigits(base, 7) && Sub(value, 7, 1) == Modulo11(base, '0')) return true;
  ErrorBox(sink, {Cp850("NIRF inválido")});
  return false;
}

RenavamCheck VeRenavam(platform::MessageSink& sink, std::string_view value) {
  if (IsBlank(value)) return {true, std::string(value)};
  std::string_view t = Trim(value);
  bool digits_only = t.size() <= 11;
  for (char c : t) digits_only = digits_only && IsDigit(c);
  if (!digits_only) {
    // The old routine read such text as a number (letters as zeros) and could
    // accept it; it is refused and left as typed.
    ErrorBox(sink, {Cp850("Renavam inválido")});
    return {false, std::string(value)};
  }
  std::string v = std::string(11 - t.size(), '0') + std::string(t);
  if (*RenavamDigit(std::string_view(v).substr(0, 10)) == v[10]) return {true, v};
  ErrorBox(sink, {Cp850("Renavam inválido")});
  return {false, v};
}

}  // namespace dodu::core
