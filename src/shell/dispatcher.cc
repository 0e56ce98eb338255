#include "shell/dispatcher.h"

#include <algorithm>

#include "core/codepage.h"
#include "shell/dispatcher_texts.h"

namespace dodu::shell {
namespace {

constexpr int kInfo = static_cast<int>(platform::BoxStyle::kInfo);
constexpr int kError = static_cast<int>(platform::BoxStyle::kError);

OptionInfo Plain(int code, const char* title) { return {code, title, false, false, false, false}; }

std::vector<OptionInfo> MakeTable() {
  std::vector<OptionInfo> t = {
      {10, "E-cac", false, false, false, true},
      {11, "Declaração", false, true, false, true},
      {12, "Lancamentos", false, true, false, true},
      {13, "Conferência", false, false, false, true},
      Plain(14, "Agenda"),
      Plain(15, "Pastas"),
      Plain(16, "Exclusão"),
      Plain(17, "Importação"),
      Plain(18, "Terminar"),
      Plain(19, "Atualizar a base de dados"),
      Plain(20, "Históricos Anteriores"),
      Plain(21, "Local de trabalho"),
      Plain(22, "Transferir declarações"),
      Plain(25, "Valor a cobrar"),
      Plain(26, "Gravar os dados"),
      Plain(27, "Status da Declaração"),
      Plain(28, "Cadastro SELIC"),
      Plain(29, "Reindexar Dados"),
      Plain(30, "Mudar CPF"),
      Plain(31, "Copia Parte declaração"),
      Plain(32, "Exporta Arquivo"),
      Plain(33, "Boletos"),
      Plain(34, "E-mail"),
      Plain(35, "Verificar atualizacão"),
      Plain(36, "Ajustes da Tela"),
      Plain(37, "Retira os centavos de aviso"),
      Plain(38, "Enviar Celular e Email para IRPF"),
      Plain(39, "Edita arquivos auxiliares"),
      Plain(40, "Preencher Cidades"),
      Plain(41, "O que imprimir"),
      Plain(42, "Tipo de Folha"),
      Plain(43, "Qual pagina"),
      Plain(44, "Quem imprimir"),
      Plain(45, "Qual Impressora"),
      Plain(46, "Seleção para impressão"),
      Plain(47, "Número de Vias"),
      Plain(48, "Seleçao para impressão"),
      Plain(51, "Imprime os itens selecionados"),
      Plain(52, "Imprime a última impressão NAO-DOS"),
      Plain(53, "Edita Cartas"),
      Plain(54, "Número de Linhas na folha"),
      {61, "Envia p/ Receita", false, false, true, true},
      {62, "Envia p/ Receita", false, false, true, false},
      {63, "Envia p/ Receita", false, false, true, false},
      Plain(64, "Envia ao terminar"),
      Plain(65, "Automático no fim da declaracão"),
      Plain(66, "Muda ou não Status ao enviar"),
      Plain(67, "Local do programa da Receita"),
      Plain(68, "Recupera Declaração do IRPF"),
      Plain(71, "Cópia de Segurança"),
      Plain(72, "Backup Compactado das pastas"),
      Plain(73, "Compacta uma Pasta"),
      Plain(74, "Recuperar a cópia"),
      Plain(75, "Descompacta todos"),
      Plain(76, "Descompacta uma Pasta"),
      Plain(77, "Informa o processador"),
      Plain(91, "Saida do Programa"),
  };
  for (OptionInfo& o : t) o.settings_tables = o.code >= 21 && o.code <= 36;
  return t;
}

// A backup run with its first sub-choice 1 records the date of the last backup.
bool RecordsBackup(int code, int sub1) {
  return (code == 71 || code == 73 || code == 74) && sub1 == 1;
}

}  // namespace

MainMenuState MainMenuStateFrom(const TerminalSettings& t, const InstallationSettings& i) {
  MainMenuState s;
  s.locirpf = t.locirpf;
  s.opcirpf = t.opcirpf;
  s.opcfim = t.opcfim;
  s.opttran = t.opttran;
  s.soeste = t.soeste;
  s.env_stat = t.env_stat;
  s.opc_tran = t.opc_tran;
  s.xdrive = t.xdrive;
  s.rotaback = t.rotaback;
  s.ultback = t.ultback;
  s.print = t.print;
  s.captions = MontaItens(s.print);
  s.como_sal = i.como_sal;
  s.temp_sal = i.temp_sal;
  s.temp_des = i.temp_des;
  s.processa = i.processa;
  s.progcomp = i.progcomp;
  return s;
}

void StoreBack(const MainMenuState& s, TerminalSettings& t) {
  t.locirpf = s.locirpf;
  t.opcirpf = s.opcirpf;
  t.opcfim = s.opcfim;
  t.opttran = s.opttran;
  t.soeste = s.soeste;
  t.env_stat = s.env_stat;
  t.opc_tran = s.opc_tran;
  t.xdrive = s.xdrive;
  t.rotaback = s.rotaback;
  t.ultback = s.ultback;
  t.print = s.print;
}

MenuVariables MenuVariablesOf(const MainMenuState& state) {
  MenuVariables v;
  v.temp_sal = state.temp_sal;
  v.xdrive = state.xdrive;
  v.nomeimp = state.print.nomeimp;
  if (!state.captions.item6a.empty()) {
    v.item_6a = state.captions.item6a;
    v.item_6b = state.captions.item6b;
    v.item_6c = state.captions.item6c;
    v.item_7 = state.captions.item7;
  }
  return v;
}

void ActionRegistry::Register(int code, Action action) { by_code_[code] = std::move(action); }

void ActionRegistry::Register(int code, int sub1, Action action) {
  by_sub_[{code, sub1}] = std::move(action);
}

const Action* ActionRegistry::Find(int code, int sub1) const {
  if (auto it = by_sub_.find({code, sub1}); it != by_sub_.end()) return &it->second;
  if (auto it = by_code_.find(code); it != by_code_.end()) return &it->second;
  return nullptr;
}

const std::vector<OptionInfo>& OptionTable() {
  static const std::vector<OptionInfo> table = MakeTable();
  return table;
}

const OptionInfo* FindOption(int code) {
  const auto& t = OptionTable();
  auto it = std::lower_bound(t.begin(), t.end(), code,
                             [](const OptionInfo& o, int c) { return o.code < c; });
  return it != t.end() && it->code == code ? &*it : nullptr;
}

std::vector<std::string> HistoryYears(int sub1) {
  if (sub1 >= 0 && sub1 <= 4) return {std::to_string(2019 - sub1)};
  if (sub1 == 5) return {"2019", "2018", "2017", "2016", "2015"};
  return {};
}

Dispatcher::Dispatcher(MainMenuState& state, platform::MessageSink& sink, Prompts& prompts,
                       SettingsTables* tables, const platform::Clock& clock)
    : state_(state), sink_(sink), prompts_(prompts), tables_(tables), clock_(clock) {
  RegisterBuiltIns();
  state_.captions = MontaItens(state_.print);
}

bool Dispatcher::MenuSelect(int code, int sub1, int sub2) {
  // Checked before OPCAO_1 is stored: the open declaration's routines branch on
  // the code that opened it, and an ignored click must not change it.
  if (state_.lestounadecl) return false;
  const OptionInfo* info = FindOption(code);
  if (info == nullptr) return false;
  state_.opcao_1 = code;
  const Action* action = registry_.Find(code, sub1);
  if (action == nullptr) {
    NotAvailable(info->title);
    return false;
  }
  return Run(*info, *action, sub1, sub2);
}

bool Dispatcher::Run(const OptionInfo& info, const Action& action, int sub1, int sub2) {
  if (info.handover_guard && !Avisosrf()) return false;
  if (info.code == 22) {
    sink_.Box(kInfo,
              {core::Cp850(texts::kTransferAlone1), core::Cp850(texts::kTransferAlone2),
               core::Cp850(texts::kTransferAlone3)},
              core::Cp850(texts::kTransferTitle));
  }
  bool opened = false;
  if (info.settings_tables && tables_ != nullptr) {
    if (!tables_->Open().ok()) return false;
    opened = true;
  }
  if (info.declaration_open) state_.lestounadecl = true;

  ActionContext ctx{state_, sink_, prompts_, tables_, *this, info.code, sub1, sub2};
  bool done = action(ctx);

  if (info.declaration_open) state_.lestounadecl = false;
  if (opened) tables_->Close();

  if (done && RecordsBackup(info.code, sub1)) {
    platform::CivilTime now = clock_.Now();
    if (auto today = core::Date::FromYmd(now.year, now.month, now.day)) state_.ultback = *today;
    if (tables_ != nullptr) {
      // A refused lock leaves the old date; the reminder then simply comes back.
      (void)tables_->WriteConfig({DateField("ULTBACK", state_.ultback),
                                  CharField("XDRIVE", state_.xdrive),
                                  CharField("ROTABACK", state_.rotaback)});
    }
  }
  return done;
}

bool Dispatcher::Perform(const MenuCommand& command) {
  switch (command.kind) {
    case ActionKind::kNone:
      return false;
    case ActionKind::kOption:
      return MenuSelect(command.code, command.sub1, command.sub2);
    case ActionKind::kColourEditor: {
      if (state_.lestounadecl) return false;
      const Action* editor = registry_.colour_editor();
      if (editor == nullptr) {
        NotAvailable("Mudar as cores");
        return false;
      }
      ActionContext ctx{state_, sink_, prompts_, tables_, *this, 0, command.sub1, 0};
      return (*editor)(ctx);
    }
  }
  return false;
}

bool Dispatcher::Avisosrf() {
  if (state_.locirpf.empty()) {
    sink_.Box(kError, {core::Cp850(texts::kNoOfficialFolder)}, "");
    return false;
  }
  sink_.Box(kInfo,
            {core::Cp850(texts::kAvoidOpenProgram1), core::Cp850(texts::kAvoidOpenProgram2)}, "");
  return true;
}

void Dispatcher::NotAvailable(const std::string& title_utf8) {
  sink_.Box(kInfo, {core::Cp850(texts::kNotAvailable)}, core::Cp850(title_utf8));
}

}  // namespace dodu::shell
