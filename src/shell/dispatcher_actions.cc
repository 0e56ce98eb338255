// The short actions the dispatcher performs itself: the save interval (26), the
// screen settings (36), the postcode switch (40 (1)), the print selection (41 to
// 48), lines per sheet (54), the automatic hand-over settings (64 to 66) and the
// compressor choice (77). Each is registered like any other action, so a later
// version may replace one without touching the dispatcher.
#include <cstdio>
#include <string>
#include <vector>

#include "core/codepage.h"
#include "shell/dispatcher.h"
#include "shell/dispatcher_texts.h"

namespace dodu::shell {
namespace {

using core::Cp850;

constexpr int kInfo = static_cast<int>(platform::BoxStyle::kInfo);

std::vector<std::string> Cp850Lines(const std::vector<std::string>& utf8) {
  std::vector<std::string> out;
  out.reserve(utf8.size());
  for (const std::string& l : utf8) out.push_back(Cp850(l));
  return out;
}

void Info(ActionContext& c, const std::vector<std::string>& lines, const std::string& title = "") {
  c.sink.Box(kInfo, Cp850Lines(lines), Cp850(title));
}

std::optional<bool> Ask(ActionContext& c, const std::vector<std::string>& lines,
                        const std::string& title = "") {
  return c.prompts.YesNo(Cp850Lines(lines), Cp850(title));
}

std::string TwoChars(int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%2d", n);
  return buf;
}

// Asks a status code until one of the status table is given; nullopt on Esc.
std::optional<int> AskStatusCode(ActionContext& c, const char* prompt, int initial) {
  for (;;) {
    std::optional<int> code = c.prompts.Number(Cp850(prompt), "", 2, initial);
    if (!code) return std::nullopt;
    if (c.tables == nullptr || c.tables->StatusCodeExists(*code)) return code;
    initial = *code;
  }
}

void WriteConfig(ActionContext& c, const FieldValues& fields) {
  // A refused lock leaves the record as it was; the run goes on with the new value.
  if (c.tables != nullptr) (void)c.tables->WriteConfig(fields);
}
void WriteDefine(ActionContext& c, const FieldValues& fields) {
  if (c.tables != nullptr) (void)c.tables->WriteDefine(fields);
}

bool SaveInterval(ActionContext& c) {
  MainMenuState& s = c.state;
  switch (c.sub1) {
    case 1: {
      int initial = (s.temp_sal == 0 || s.temp_sal >= 99) ? 15 : s.temp_sal;
      std::optional<int> minutes;
      do {
        minutes = c.prompts.Number(Cp850(texts::kSaveIntervalPrompt),
                                   Cp850(texts::kSaveIntervalTitle), 2, initial);
        if (!minutes) return false;
      } while (*minutes < 1);
      s.temp_sal = *minutes;
      break;
    }
    case 2:
      s.temp_sal = 0;
      break;
    case 3:
      s.temp_sal = 99;
      break;
    default:
      return false;
  }
  WriteDefine(c, {NumericField("COMO_SAL", s.como_sal), NumericField("TEMP_SAL", s.temp_sal),
                  NumericField("TEMP_DES", s.temp_des)});
  return true;
}

bool ScreenSettings(ActionContext& c) {
  MainMenuState& s = c.state;
  if (c.sub1 == 1) {
    bool is_new = s.opcirpf == "J";
    std::string yes = std::string("Sim - ") + (is_new ? texts::kKeepScreen : texts::kChangeScreen) +
                      " menu Novo";
    std::string no = std::string("Não - ") + (is_new ? texts::kChangeScreen : texts::kKeepScreen) +
                     " menu Antigo";
    std::optional<bool> answer =
        Ask(c, {yes, no}, is_new ? texts::kMenuNewTitle : texts::kMenuOldTitle);
    if (!answer) return false;
    s.opcirpf = *answer ? "J" : "N";
    WriteConfig(c, {CharField("OPCIRPF", s.opcirpf)});
    return true;
  }
  if (c.sub1 == 2) {
    bool to_menu = s.opcfim == 1;
    std::string title = std::string(texts::kClosingTitle) +
                        (to_menu ? texts::kToMainMenu : texts::kStayInSelection);
    std::string yes = std::string("Sim - ") + (to_menu ? texts::kKeep : texts::kChangeTo) +
                      " ao terminar vai para o menu inicial";
    std::string no = std::string("Não - ") + (to_menu ? texts::kChangeTo : texts::kKeep) +
                     " ao terminar fica na seleção";
    std::optional<bool> answer = Ask(c, {yes, no}, title);
    if (!answer) return false;
    s.opcfim = *answer ? 1 : 0;
    WriteConfig(c, {NumericField("OPCFIM", s.opcfim)});
    return true;
  }
  return false;
}

bool PostcodeSwitch(ActionContext& c) {
  bool on = c.state.lbuscacep;
  std::string verb = on ? "desativar" : "ativar";
  std::optional<bool> answer =
      Ask(c,
          {std::string(texts::kPostcodeIs) + (on ? "ativada" : "desativada"),
           "Deseja " + verb + " nessa sessão a busca?"},
          verb + " a busca pelo CEP");
  if (answer.value_or(false)) c.state.lbuscacep = !on;
  return answer.has_value();
}

bool PrintSelectionAction(ActionContext& c) {
  PrintSelection& p = c.state.print;
  switch (c.code) {
    case 41:
    case 42:
    case 43:
    case 44:
      SelectPrintItem(p, c.code, c.sub1);
      break;
    case 46: {
      std::string question = PrintFlagQuestion(c.sub1);
      if (question.empty()) return false;
      std::optional<bool> answer = Ask(c, {question});
      if (!answer) return false;
      SetPrintFlag(p, c.sub1, *answer);
      break;
    }
    case 47: {
      std::optional<int> copies = c.prompts.Number(Cp850(kCopiesQuestion), "", 1, p.nro_vias);
      if (!copies) return false;
      SelectPrintItem(p, 47, *copies);
      break;
    }
    case 48:
      Info(c, MosConfimpLines(p, c.state.captions), kShowSelectionTitle);
      return true;
    default:
      return false;
  }
  c.state.captions = MontaItens(p);
  if (SavesPrintSelection(c.code)) WriteConfig(c, PrintSelectionFields(p));
  return true;
}

bool LinesPerSheet(ActionContext& c) {
  PrintSelection& p = c.state.print;
  std::optional<int> lines =
      c.prompts.Number(Cp850(texts::kLinesPrompt), Cp850(texts::kLinesTitle), 2, p.nrolinhas);
  if (!lines) return false;
  if (*lines < 50 || *lines > 66) {
    Info(c, {texts::kLinesOutOfRange});
    p.nrolinhas = 60;
  } else {
    p.nrolinhas = *lines;
  }
  return true;
}

void TellOnlyStatus(ActionContext& c) {
  Info(c, {texts::kOnlyStatus1 + TwoChars(c.state.soeste), texts::kOnlyStatus2});
}
void TellNoneTransferred(ActionContext& c) {
  Info(c, {texts::kNoneTransferred1, texts::kNoneTransferred2});
}

bool HandOverByStatus(ActionContext& c) {
  MainMenuState& s = c.state;
  if (c.sub1 == 1) {
    std::optional<int> code = AskStatusCode(c, texts::kStatusToTransferPrompt, s.soeste);
    if (!code) return false;
    s.soeste = *code;
    s.opttran = 2;
    TellOnlyStatus(c);
    return true;
  }
  if (c.sub1 == 2) {
    s.opttran = 0;
    TellNoneTransferred(c);
    return true;
  }
  return false;
}

bool HandOverAlways(ActionContext& c) {
  MainMenuState& s = c.state;
  if (c.sub1 == 1) {
    s.opttran = 1;
    Info(c, {texts::kAllTransferred1, texts::kAllTransferred2});
    return true;
  }
  if (c.sub1 == 2) {
    if (s.opttran == 2) {
      TellOnlyStatus(c);
    } else {
      s.opttran = 0;
      TellNoneTransferred(c);
    }
    return true;
  }
  return false;
}

bool StatusAfterSending(ActionContext& c) {
  MainMenuState& s = c.state;
  std::optional<bool> answer = Ask(c, {texts::kStatusAfterSending});
  if (!answer) return false;
  if (!*answer) {
    s.env_stat = 0;
    return true;
  }
  s.env_stat = 1;
  if (std::optional<int> code = AskStatusCode(c, texts::kStatusSentPrompt, s.opc_tran)) {
    s.opc_tran = *code;
  }
  return true;
}

bool CompressorChoice(ActionContext& c) {
  MainMenuState& s = c.state;
  bool is32 = s.processa == "S";
  std::optional<bool> answer =
      Ask(c, {texts::kCompressor1, std::string(texts::kCompressor2) + (is32 ? "32" : "64") +
                                       " bits. Troca para " + (is32 ? "64" : "32") + " bits?"});
  if (answer.value_or(false)) s.processa = is32 ? "N" : "S";
  WriteDefine(c, {CharField("PROCESSA", s.processa), CharField("PROGCOMP", s.progcomp)});
  return answer.has_value();
}

}  // namespace

void Dispatcher::RegisterBuiltIns() {
  registry_.Register(26, SaveInterval);
  registry_.Register(36, ScreenSettings);
  registry_.Register(40, 1, PostcodeSwitch);
  for (int code : {41, 42, 43, 44, 46, 47, 48}) registry_.Register(code, PrintSelectionAction);
  registry_.Register(54, LinesPerSheet);
  registry_.Register(64, HandOverByStatus);
  registry_.Register(65, HandOverAlways);
  registry_.Register(66, StatusAfterSending);
  registry_.Register(77, CompressorChoice);
}

}  // namespace dodu::shell
