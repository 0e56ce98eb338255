#include "core/ids.h"

#include <gtest/gtest.h>

#include "core/id_format.h"
#include "core/testutil.h"

namespace dodu::core {
namespace {

using testing::BoxTexts;
using Boxes = std::vector<std::string>;

struct ValidationCase {
  const char* value;
  bool required;
  bool ok;
  Boxes boxes;  // UTF-8, lines joined with " / "
};

void PrintTo(const ValidationCase& c, std::ostream* os) { *os << "[" << c.value << "]"; }

class ValCpfTest : public ::testing::TestWithParam<ValidationCase> {};

TEST_P(ValCpfTest, CpfMode) {
  const auto& c = GetParam();
  platform::RecordingSink sink;
  EXPECT_EQ(ValCpf(sink, c.value, c.required), c.ok);
  EXPECT_EQ(BoxTexts(sink), c.boxes);
  for (const auto& box : sink.boxes) EXPECT_EQ(box.style, 8);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ValCpfTest,
    ::testing::Values(
        ValidationCase{"11144477735", false, true, {}},
        ValidationCase{"11144477736", false, false,
                       {"ATENÇÃO! CPF 111.444.777-36 está incorreto.  / "
                        "O dígito para esse número é:35"}},
        // First sum leaves remainder 10: digit 0, and 9 added to the second sum.
        ValidationCase{"10000000108", false, true, {}},
        ValidationCase{"10000000100", false, false,
                       {"ATENÇÃO! CPF 100.000.001-00 está incorreto.  / "
                        "O dígito para esse número é:08"}},
        ValidationCase{"           ", false, true, {}},
        ValidationCase{"           ", true, false, {}},
        ValidationCase{"1114447  35", false, false, {"ATENÇÃO! CPF está incompleto."}},
        ValidationCase{"111444", false, false, {"ATENÇÃO! CPF está incompleto."}},
        // Regression: letters were read as zeros, so "abcdefghi00" passed.
        ValidationCase{"abcdefghi00", false, false, {"ATENÇÃO! CPF está incompleto."}},
        ValidationCase{"11144477735  ", false, true, {}}));

TEST(ValCpf, SelectionMode) {
  platform::RecordingSink sink;
  std::string name = "FULANO";
  auto hook = [&](const std::string& n) { name = n; };
  EXPECT_TRUE(ValCpf(sink, "   ", true, CpfMode::kSelection, hook));
  EXPECT_EQ(name, std::string(53, ' '));
  name = "FULANO";
  EXPECT_TRUE(ValCpf(sink, "   ", false, CpfMode::kSelection, hook));
  EXPECT_EQ(name, "FULANO");  // not required: nothing cleared
  EXPECT_FALSE(ValCpf(sink, "1114", true, CpfMode::kSelection, hook));  // silent
  EXPECT_TRUE(sink.boxes.empty());
  EXPECT_FALSE(ValCpf(sink, "11144477736", true, CpfMode::kSelection, hook));
  EXPECT_EQ(sink.boxes.size(), 1u);
}

TEST(ValCpf, CaepfMode) {
  platform::RecordingSink sink;
  EXPECT_EQ(CaepfDigits("111444777001"), "54");
  EXPECT_TRUE(ValCpf(sink, "11144477700154", false, CpfMode::kCaepf));
  EXPECT_FALSE(ValCpf(sink, "11144477700155", false, CpfMode::kCaepf));
  EXPECT_FALSE(ValCpf(sink, "1114447770", false, CpfMode::kCaepf));
  EXPECT_EQ(BoxTexts(sink),
            (Boxes{"ATENÇÃO! CAEPF 111.444.777.001-55 está incorreto.  / "
                   "O dígito para esse número é:54",
                   "ATENÇÃO! CAEPF está incompleto."}));
}

TEST(ValCgc, Cases) {
  struct Case {
    const char* value;
    bool required, ok;
    Boxes boxes;
  } cases[] = {
      {"11222333000181", false, true, {}},
      {"11222333000180", false, false,
       {"ATENÇÃO! CNPJ 11.222.333/0001-80 está incorreto.  / O dígito para esse número é:81"}},
      {"              ", true, false, {}},
      {"              ", false, true, {}},
      {"1122233300", false, false, {"ATENÇÃO! CNPJ está incompleto."}},
  };
  for (const auto& c : cases) {
    platform::RecordingSink sink;
    EXPECT_EQ(ValCgc(sink, c.value, c.required), c.ok) << c.value;
    EXPECT_EQ(BoxTexts(sink), c.boxes) << c.value;
  }
}

TEST(CpfCgc, Cases) {
  const std::string digits_box =
      "Digite o CPF/CNPJ com número correto  / de dígitos, 11 para CPF e 14 para CNPJ, / "
      "ou coloque os separadores no lugar correto. / CPF=nnn.nnn.nnn-nn CNPJ=nn.nnn.nnn/nnnn-nn ";
  struct Case {
    const char* value;
    bool required, ok;
    Boxes boxes;
  } cases[] = {
      {"111.444.777-35    ", false, true, {}},
      {"11144477735", false, true, {}},
      {"  11144477735  ", false, true, {}},
      {"11.222.333/0001-81", false, true, {}},
      {"11222333000181", false, true, {}},
      {"11222333000180", false, false,
       {"ATENÇÃO! CNPJ 11.222.333/0001-80 está incorreto.  / O dígito para esse número é:81"}},
      {"111.444.777-36", false, false,
       {"ATENÇÃO! CPF 111.444.777-36 está incorreto.  / O dígito para esse número é:35"}},
      {"123.45678.90-1", false, true, {}},  // the NIT form, not checked
      {"123456789012", false, false, {digits_box}},
      {"", true, false, {}},
      {"", false, true, {}},
  };
  for (const auto& c : cases) {
    platform::RecordingSink sink;
    EXPECT_EQ(CpfCgc(sink, c.value, c.required), c.ok) << c.value;
    EXPECT_EQ(BoxTexts(sink), c.boxes) << c.value;
  }
}

// The old check accepted any text whose 10th character was "." as a NIT; only
// 11 digits grouped 3.5.2-1 are meant.
TEST(CpfCgc, NitFormOnlyForElevenDigitsGrouped3521) {
  for (const char* v : {"abc.defgh.ij-k", "12.345.678.9999", "123.4567.8.90-1", "xxxxxxxxx.x"}) {
    platform::RecordingSink sink;
    EXPECT_FALSE(CpfCgc(sink, v, false)) << v;
    EXPECT_EQ(sink.boxes.size(), 1u) << v;
  }
}

TEST(CpfCgc1, RewritesTheFieldPunctuated) {
  platform::RecordingSink sink;
  std::string field = "11144477735       ";
  FieldAccessor acc{[&] { return field; }, [&](const std::string& v) { field = v; }};
  EXPECT_TRUE(CpfCgc1(sink, acc, true));
  EXPECT_EQ(field, "111.444.777-35    ");
  field = "11222333000180";
  EXPECT_FALSE(CpfCgc1(sink, acc, true));
  EXPECT_EQ(field, "11.222.333/0001-80");
  field = "   ";
  EXPECT_FALSE(CpfCgc1(sink, acc, true));
  EXPECT_EQ(field, "   ");  // empty: not rewritten
  EXPECT_TRUE(CpfCgc1(sink, acc, false));
}

TEST(ValNit, Cases) {
  struct Case {
    const char* value;
    int mode;
    bool ok;
    Boxes boxes;
  } cases[] = {
      {"12345678900", 0, true, {}},
      {"123.45678.90-0", 0, true, {}},
      {"12034567899", 0, true, {}},
      {"", 0, true, {}},
      {"12345678901", 0, false, {"ATENÇÃO! NIT está incorreto. "}},
      {"12345678901", 1, false,
       {"ATENÇÃO! NIT está incorreto.  / Se estiver digitado CPF use seta direita / "
        "até a última coluna e digite lá. "}},
      {"1234567890", 0, false, {"ATENÇÃO! O NIT está incompleto... "}},
      {"1234567890", 1, false, {"ATENÇÃO! O NIT do empregado está errado."}},
  };
  for (const auto& c : cases) {
    platform::RecordingSink sink;
    EXPECT_EQ(ValNit(sink, c.value, c.mode), c.ok) << c.value;
    EXPECT_EQ(BoxTexts(sink), c.boxes) << c.value;
  }
}

TEST(Modulo11, Digits) {
  struct Case {
    const char* digits;
    char substitute;
    const char* dv;
  } cases[] = {
      {"1234567", '0', "9"},  // weights 8..2, sum 112, 112 mod 11 = 2, 11 - 2
      {"", '0', ""},
      {"   ", '0', ""},
      {"0", '0', "0"},  // 11 - 0 = 11 > 9: the substitute
      {"0", '1', "1"},
      {"5", '0', "1"},  // weight 2: 10, 11 - 10
      {" 1234567 ", '0', "9"},
  };
  for (const auto& c : cases) EXPECT_EQ(Modulo11(c.digits, c.substitute), c.dv) << c.digits;
}

TEST(VeNirf, Cases) {
  struct Case {
    const char* value;
    bool ok;
  } cases[] = {
      {"12345679", true}, {"12345670", false}, {"", true}, {"1234567", false},
      {"12a45679", false},
  };
  for (const auto& c : cases) {
    platform::RecordingSink sink;
    EXPECT_EQ(VeNirf(sink, c.value), c.ok) << c.value;
    EXPECT_EQ(BoxTexts(sink), c.ok ? Boxes{} : Boxes{"NIRF inválido"}) << c.value;
  }
}

TEST(VeRenavam, Cases) {
  struct Case {
    const char* value;
    bool ok;
    const char* after;
  } cases[] = {
      {"01234567897", true, "01234567897"},
      {"1234567897", true, "01234567897"},  // written back with leading zeros
      {" 98765432103 ", true, "98765432103"},
      {"01234567890", false, "01234567890"},
      {"", true, ""},
      {"123456789012", false, "123456789012"},
  };
  for (const auto& c : cases) {
    platform::RecordingSink sink;
    RenavamCheck r = VeRenavam(sink, c.value);
    EXPECT_EQ(r.valid, c.ok) << c.value;
    EXPECT_EQ(r.value, c.after) << c.value;
    EXPECT_EQ(BoxTexts(sink), c.ok ? Boxes{} : Boxes{"Renavam inválido"}) << c.value;
  }
}

// The old check read the text as a number, so letters became zeros and
// "ABCDEFGHIJK" was written back as "00000000000", which passes.
TEST(VeRenavam, RejectsNonDigits) {
  for (const char* v : {"ABCDEFGHIJK", "0123456789-7", "12345 67897"}) {
    platform::RecordingSink sink;
    RenavamCheck r = VeRenavam(sink, v);
    EXPECT_FALSE(r.valid) << v;
    EXPECT_EQ(r.value, v);
    EXPECT_EQ(BoxTexts(sink), Boxes{"Renavam inválido"});
  }
  EXPECT_EQ(RenavamDigit("0000000000"), '0');  // why all zeros used to pass
}

TEST(Punctuation, ContaPontoPoePontoTiraPonto) {
  struct Case {
    const char* value;
    int mode, code;
    const char* out;
  } cases[] = {
      {"11144477735", 0, 0, "111.444.777-35    "},
      {"11222333000181", 0, 0, "11.222.333/0001-81"},
      {"111.444.777-35", 0, 0, "111.444.777-35"},
      {"11.222.333/0001-81", 0, 0, "11.222.333/0001-81"},
      {"123456789012", 0, 0, "123456789012"},
      {"12345678901", 1, 50, "123.45678.90-1    "},
      {"12345678901", 1, 9, "123.456.789-01    "},
      {"12345678901234", 1, 21, "12.345.678/9012-34"},
      {"12345678901", 1, 1, "12.345.678/901 -  "},  // a CNPJ code forces the CNPJ form
      {"12345678901", 1, 77, "123.456.789-01    "},  // other codes: ContaPonto
      {"123.456.789-01", 1, 50, "123.456.789-01"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PoePonto(c.value, c.mode, c.code), c.out) << c.value << " " << c.code;
  }
  EXPECT_EQ(ContaPonto("123 456"), "123 456");
  EXPECT_EQ(TiraPonto(" 111.444.777-35  "), "11144477735");
  EXPECT_EQ(TiraPonto("11.222.333/0001-81"), "11222333000181");
  EXPECT_EQ(TiraPonto("abc"), "");
}

}  // namespace
}  // namespace dodu::core
