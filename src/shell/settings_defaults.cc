#include "shell/settings_defaults.h"

#include <cctype>
#include <utility>

namespace dodu::shell {
namespace {

core::Date Ymd(int y, int m, int d) { return *core::Date::FromYmd(y, m, d); }

std::string RightTrimmed(std::string_view text) {
  size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The due dates of the eight quotas of this exercise.
const core::Date kDueDates[8] = {Ymd(2020, 6, 30),  Ymd(2020, 7, 31),  Ymd(2020, 8, 31),
                                 Ymd(2020, 9, 30),  Ymd(2020, 10, 30), Ymd(2020, 11, 30),
                                 Ymd(2020, 12, 30), Ymd(2021, 1, 29)};
const core::Decimal kDollarRate = core::Decimal::FromScaled(40301, 4);

FieldValues DueDateFields() {
  FieldValues f;
  for (int i = 0; i < 8; ++i) f.push_back(DateField("VCTO" + std::to_string(i + 1), kDueDates[i]));
  return f;
}

}  // namespace

FieldValue CharField(std::string name, std::string text) {
  return {std::move(name), FieldData(std::move(text))};
}
FieldValue NumericField(std::string name, int64_t whole) {
  return {std::move(name), FieldData(core::Decimal::FromInt(whole))};
}
FieldValue NumericField(std::string name, core::Decimal value) {
  return {std::move(name), FieldData(value)};
}
FieldValue DateField(std::string name, core::Date date) { return {std::move(name), FieldData(date)}; }
FieldValue LogicalField(std::string name, bool value) { return {std::move(name), FieldData(value)}; }

const FieldValue* FindField(const FieldValues& record, std::string_view name) {
  for (const FieldValue& f : record) {
    if (f.name == name) return &f;
  }
  return nullptr;
}

std::string CharOf(const FieldValues& record, std::string_view name, std::string fallback) {
  const FieldValue* f = FindField(record, name);
  if (f == nullptr || !std::holds_alternative<std::string>(f->value)) return fallback;
  return RightTrimmed(std::get<std::string>(f->value));
}

core::Decimal DecimalOf(const FieldValues& record, std::string_view name, core::Decimal fallback) {
  const FieldValue* f = FindField(record, name);
  if (f == nullptr || !std::holds_alternative<core::Decimal>(f->value)) return fallback;
  return std::get<core::Decimal>(f->value);
}

int64_t IntOf(const FieldValues& record, std::string_view name, int64_t fallback) {
  const FieldValue* f = FindField(record, name);
  if (f == nullptr || !std::holds_alternative<core::Decimal>(f->value)) return fallback;
  return std::get<core::Decimal>(f->value).ToScaled(0, core::Rounding::kTruncate);
}

core::Date DateOf(const FieldValues& record, std::string_view name, core::Date fallback) {
  const FieldValue* f = FindField(record, name);
  if (f == nullptr || !std::holds_alternative<core::Date>(f->value)) return fallback;
  return std::get<core::Date>(f->value);
}

void ApplyFields(FieldValues& record, const FieldValues& changes) {
  for (const FieldValue& c : changes) {
    bool found = false;
    for (FieldValue& f : record) {
      if (f.name == c.name) {
        f.value = c.value;
        found = true;
      }
    }
    if (!found) record.push_back(c);
  }
}

// ---- CONFIG -------------------------------------------------------------------

OutsideFolders WindowsOutsideFolders() {
  return {"C:\\KEVA2019", "C:\\ARQUIVOS DE PROGRAMAS RFB\\IRPF2020\\APLICACAO\\DADOS",
          "C:\\ARQUIVOS DE PROGRAMAS RFB\\IRPF2019\\TRANSMITIDAS", "C:\\DODU2020"};
}

OutsideFolders NativeOutsideFolders(std::string_view base, std::string_view program_folder) {
  std::string root(base);
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  if (root == "/") root.clear();
  return {root + "/KEVA2019", root + "/ProgramasRFB/IRPF2020/APLICACAO/DADOS",
          root + "/ProgramasRFB/IRPF2019/TRANSMITIDAS", std::string(program_folder)};
}

FieldValues ConfigDefaults(const ConfigInput& in) {
  // ULT_TER, ULT_MOD and NOVOIT are reserved: written as 0, 1 and nothing.
  return {
      CharField("NRO_TERM", in.terminal),
      CharField("ROTAANTER", in.outside.rotaanter),
      CharField("ROTADOANO", in.rotadef),
      CharField("ROTAREANT", in.outside.rotareant),
      CharField("ROTARECEI", in.outside.rotarecei),
      CharField("ROTAJAVA", in.outside.rotarecei),
      CharField("DIRTRAB", in.rotadef),
      CharField("DIRPROV", in.dirdef),
      CharField("DIRINST", in.outside.dirinst),
      NumericField("QUEIMP", 1),
      NumericField("QUEMOD", 1),
      NumericField("QUEPAG", 1),
      NumericField("QUECON", 1),
      NumericField("ENV_STAT", 2),
      NumericField("MARESQ", 0),
      NumericField("INIFOL", 0),
      NumericField("LINETI", 6),
      NumericField("NRO_LIN", 60),
      NumericField("OPC_TRAN", 7),
      NumericField("COMPAGA", 1),
      CharField("IMPBEM", "1"),
      CharField("IMPBAL", "1"),
      CharField("MOSIMP", "S"),
      CharField("MOSTEL", "S"),
      CharField("MOSCPF", ""),
      NumericField("ULT_TER", 0),
      NumericField("ULT_MOD", 1),
      CharField("ULT_CPF", ""),
      CharField("XDRIVE", "C"),
      NumericField("SOESTE", 9),
      NumericField("OPTTRAN", 0),
      DateField("ULTBACK", in.today),
      CharField("OPCIRPF", "J"),
      CharField("NOMEAG", ""),
      NumericField("OPCFIM", 0),
  };
}

std::string OperatorName(std::string_view nomeag, std::string_view terminal) {
  std::string name = RightTrimmed(nomeag);
  if (name.empty()) return "USUARIO DO TERMINAL " + std::string(terminal);
  return name;
}

std::string WithFolderSeparator(std::string_view folder) {
  std::string f = RightTrimmed(folder);
  if (f.empty()) return f;
  if (IsSeparator(f.back())) return f;
  return f + (f.front() == '/' ? "/" : "\\");
}

std::string LocIrpf(std::string_view rotajava) { return WithFolderSeparator(rotajava); }

std::optional<std::string> OfficialProgramRoot(std::string_view folder) {
  static constexpr std::string_view kComponent = "APLICACAO";
  size_t start = 0;
  while (start <= folder.size()) {
    size_t end = start;
    while (end < folder.size() && !IsSeparator(folder[end])) ++end;
    std::string_view part = folder.substr(start, end - start);
    if (part.size() == kComponent.size()) {
      bool same = true;
      for (size_t i = 0; i < part.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(part[i])) != kComponent[i]) same = false;
      }
      if (same) return std::string(folder.substr(0, start));
    }
    start = end + 1;
  }
  return std::nullopt;
}

// ---- DEFINE -------------------------------------------------------------------

FieldValues DefineDefaults() {
  FieldValues f = DueDateFields();
  FieldValues rest = {
      NumericField("VAL_SEG", core::Decimal::FromScaled(400, 2)),
      NumericField("VAL_BYTE", core::Decimal::FromScaled(300, 2)),
      NumericField("VAL_MIN", 120),
      NumericField("COMO_SAL", 2),
      NumericField("TEMP_SAL", 15),
      NumericField("TEMP_DES", 4),
      NumericField("VAL_CPMF", 0),
      NumericField("VAL_DOLAR", kDollarRate),
      CharField("PROCESSA", "N"),
      CharField("PROGCOMP", "S"),
  };
  f.insert(f.end(), rest.begin(), rest.end());
  return f;
}

bool NeedsDueDateRefresh(const FieldValues& define_record) {
  return DateOf(define_record, "VCTO1") == Ymd(2020, 4, 30);
}

FieldValues DueDateRefresh() {
  FieldValues f = DueDateFields();
  f.push_back(NumericField("VAL_DOLAR", kDollarRate));
  return f;
}

InstallationSettings ReadInstallationSettings(const FieldValues& r) {
  InstallationSettings s;
  s.val_seg = DecimalOf(r, "VAL_SEG");
  s.val_byte = DecimalOf(r, "VAL_BYTE");
  s.val_min = DecimalOf(r, "VAL_MIN");
  s.como_sal = static_cast<int>(IntOf(r, "COMO_SAL"));
  s.temp_sal = static_cast<int>(IntOf(r, "TEMP_SAL"));
  s.temp_des = static_cast<int>(IntOf(r, "TEMP_DES"));
  s.val_cpmf = DecimalOf(r, "VAL_CPMF");
  s.bol_banco = kBolBanco;  // the record's BOL_BANCO is not read
  s.bol_nosnro = IntOf(r, "BOL_NOSNRO");
  s.ser_smtp = CharOf(r, "SER_SMTP");
  s.nom_usua = CharOf(r, "NOM_USUA");
  s.ema_usua = CharOf(r, "EMA_USUA");
  s.sen_usua = CharOf(r, "SEN_USUA");
  s.memoriz = CharOf(r, "MEMORIZ");
  s.ver_atual = CharOf(r, "VER_ATUAL");
  s.processa = CharOf(r, "PROCESSA");
  s.progcomp = CharOf(r, "PROGCOMP");
  s.statrava = static_cast<int>(IntOf(r, "STATRAVA"));
  for (int i = 1; i <= 8; ++i) s.adatvenc.push_back(DateOf(r, "VCTO" + std::to_string(i)));
  s.nvaldolar = DecimalOf(r, "VAL_DOLAR");
  s.cvaldolar = s.nvaldolar.ToField(6, 4).value_or("******");
  return s;
}

// ---- ListaIMP -----------------------------------------------------------------

FieldValues PrinterDefaults(std::string_view terminal, std::string_view default_printer) {
  return {
      CharField("NRO_TERM", std::string(terminal)),
      CharField("NOMEIMP", "NAO DOS"),
      CharField("IPADRAO", std::string(default_printer)),
      // "<018>" and "<015>": the characters 18 and 15 (normal and condensed
      // pitch), which is what the two-character fields hold.
      CharField("SEQ0", "\x12"),
      CharField("SEQ1", "\x0F"),
  };
}

// ---- CORES --------------------------------------------------------------------

FieldValues ColourDefaults(std::string_view terminal) {
  return {
      CharField("NRO_TERM", std::string(terminal)),
      NumericField("COR_TEL1", 30),
      NumericField("COR_TEL2", 31),
      NumericField("COR_TEL3", 63),
      NumericField("COR_MENS", 112),
      NumericField("COR_PEGA", 15),
      NumericField("COR_HELP", 112),
      NumericField("COR_FERID", 28),
      NumericField("COR_ESCOL", 79),
      NumericField("COR_ENCHE", 31),
      CharField("COR_1_CLI", "GR+/B"),
      CharField("COR_2_CLI", "W+/B"),
      CharField("COR_INI", "W+/B"),
      CharField("COR_SAY", "N/W+"),
      CharField("COR_GET", "W/N"),
      CharField("COR_CLI_HE", "N/W"),
      CharField("COR_ESC_CL", "W/R+"),
      CharField("COR_ENCH_C", "W+/B"),
  };
}

CompositeColours BuildCompositeColours(const FieldValues& colours) {
  FieldValues defaults = ColourDefaults("");
  auto get = [&](std::string_view name) {
    return CharOf(colours, name, CharOf(defaults, name));
  };
  auto composite = [&](const std::string& first) {
    return first + "," + get("COR_GET") + ",\"N/N\",\"N/N\"," + get("COR_SAY");
  };
  CompositeColours c;
  c.cornorm = composite(get("COR_SAY"));
  c.corlimp = composite(get("COR_1_CLI"));
  c.corsele = composite(get("COR_CLI_HE"));
  c.invisivel = "W/W,W/W,N/N,N/N,W/W";
  c.cormenu = get("COR_1_CLI") + "," + get("COR_ESC_CL") + "," + get("COR_ENCH_C") + "," +
              get("COR_ENCH_C") + "," + get("COR_2_CLI") + "," + get("COR_2_CLI");
  c.coraten = "R/W*";
  return c;
}

}  // namespace dodu::shell
