// MENUCOMUM: a declaration-menu code becomes the next screen, after the
// guards that refuse it for this taxpayer.
#include <string>

#include "core/codepage.h"
#include "core/date.h"
#include "screen/message_box.h"
#include "shell/declaration_menu_window.h"

namespace dodu::shell {

namespace {

// DDIAENTRA: the last day for delivering the declaration of the exercise.
const core::Date kDeliveryDeadline = *core::Date::FromYmd(2020, 6, 30);

std::string Trimmed(const core::Variables& vars, std::string_view name) {
  std::string s = vars.Text(name);
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

bool IsRuralCode(int code) { return (code >= 101 && code <= 109) || (code >= 201 && code <= 206); }

const char kNoDependants[] = "Sem dependentes para usar essa opção";

}  // namespace

void DeclarationWindow::CountDependants() {
  int n = 0;
  if (store::WorkArea* area = session_.WorkCopy(3)) {
    const store::RecNo keep = area->recno();
    if (area->Top().ok()) {
      while (!area->eof()) {
        ++n;
        if (!area->Skip().ok()) break;
      }
    }
    if (keep.value > 0) (void)area->GoTo(keep);
  }
  state_.qtd_dep = n;
}

bool DeclarationWindow::RefuseRural() {
  if (Rural()) return false;
  ErrorBox(
      {"Esse contribuinte não esta selecionado que tenha necessidade da Atividade "
       "Rural. Se for o caso vá na tela de identificação e marque essa condição."});
  return true;
}

bool DeclarationWindow::DirectDonationAllowed(int code) {
  const char* title = "Doação Direta";
  const std::string model = Trimmed(session_.vars(), "USAPADRAO");
  if (model == "S") {
    ErrorBox({"Para fazer doação direta só na Declaração Completa."}, title);
    return false;
  }
  if (model.empty()) {
    ErrorBox({"Defina o tipo de declaração na tela F7"}, title);
    return false;
  }
  const core::Decimal limit = hooks_.LIMDOA(session_, code == 44 ? 1 : 2);
  if (limit.Sign() <= 0) {
    ErrorBox({"Não há valor disponível para a doação direta na declaração"}, title);
    return false;
  }
  if (st_.today > kDeliveryDeadline) {
    ErrorBox({"A doação direta só é permitida até " + kDeliveryDeadline.ToDmy(),
              "Caso já tenha entregue a declaração com doações diretas",
              "e não foi pago o Darf no prazo deve-se retificar a declaração",
              std::string("retirando a doação nos pagamentos efetuados. Código ") +
                  (code == 44 ? "39" : "49")},
             title);
    return false;
  }
  return true;
}

void DeclarationWindow::SpouseInformation() {
  core::Variables& vars = session_.vars();
  auto clear_spouse = [&vars] {
    vars.SetText("I9_4", "N");
    vars.SetText("I9_5", "N");
    for (int k = 1; k <= 5; ++k) vars.SetNumber("I13_" + std::to_string(k) + "C", {});
  };
  std::optional<std::string> spouse_cpf;
  if (store::WorkArea* area = session_.WorkCopy(3)) {
    const store::RecNo keep = area->recno();
    if (area->Top().ok()) {
      while (!area->eof() && !spouse_cpf) {
        auto rec = area->Current();
        if (!rec.ok()) break;
        auto kind = rec->GetNumber("CODIDEPEN");
        if (kind.ok() && *kind == core::Decimal::FromInt(11)) {
          spouse_cpf = rec->GetTrimmed("CPFDEPEN").value_or("");
        }
        if (!area->Skip().ok()) break;
      }
    }
    if (keep.value > 0) (void)area->GoTo(keep);
  }
  if (spouse_cpf) {
    if (*spouse_cpf != Trimmed(vars, "CPFCONJU")) {
      ErrorBox({"Atenção! O cpf do conjuge nos dependentes está diferente",
                "daquele marcado no CPF do conjuge na tela F6.",
                "Confira o que está errado: Código ou CPF"});
    }
    ErrorBox({"Essa declaração é uma declaração em conjunto!",
              "Os valores dos rendimentos devem ser lançados",
              "nos campos reservados para os dependentes"});
    clear_spouse();
    return;
  }
  if (Trimmed(vars, "DECFINAL") == "S") {
    ErrorBox({"Essa declaração está marcada como uma  ", "Declaração final de espólio e não pode",
              "ter mais os rendimentos do conjugue"});
    clear_spouse();
    return;
  }
  state_.pos = {5, 56};
  state_.key_changed = true;
}

void DeclarationWindow::Menucomum(int code, std::string_view variant) {
  if (state_.lsai) return;
  CountDependants();
  core::Variables& vars = session_.vars();
  auto go = [this, code](int tela) {
    state_.pos = {tela, code};
    state_.key_changed = true;
  };
  auto need_dependants = [this] {
    if (state_.qtd_dep > 0) return true;
    ErrorBox({kNoDependants});
    return false;
  };
  auto lcdpr = [&vars] { return vars.Number("TIPO_LANCA") == core::Decimal::FromInt(2); };
  auto run_action = [this](int c, const char* what) {
    if (options_.screens != nullptr) {
      if (const ActionRoutine* action = options_.screens->FindAction(c)) {
        ScreenContext ctx = Context();
        (*action)(ctx);
        return;
      }
    }
    Info({std::string(what), "Ainda não disponível nesta versão."}, "Aviso");
  };
  if (IsRuralCode(code) && RefuseRural()) return;
  const std::string activity = code >= 200 ? "N" : "S";
  auto rural_activity = [&]() {
    if (session_.CATVATUAL() == activity) return true;
    const Status s = session_.PRENCHEAAR(activity);
    if (!s.ok()) ErrorBox({"Erro ao ler a atividade rural: " + s.message()});
    return s.ok();
  };

  switch (code) {
    case 11:
    case 12:
      state_.i1_1 = code == 11 ? "J" : "A";
      state_.i1_11 = "S";
      go(1);
      break;
    case 13:
    case 14:
      if (!need_dependants()) return;
      state_.i1_1 = code == 13 ? "J" : "A";
      state_.i1_11 = "N";
      go(1);
      break;
    case 17:
    case 111:
    case 112:
      SaiDaDec(code);
      break;
    case 21:
      go(2);
      break;
    case 22:
      if (!need_dependants()) return;
      go(2);
      break;
    case 31:
    case 32:
      go(3);
      break;
    case 41:
    case 42:
    case 43:
      go(4);
      break;
    case 44:
    case 46:
      if (DirectDonationAllowed(code)) go(4);
      break;
    case 45:
      if (Trimmed(vars, "DECFINAL") != "S") {
        ErrorBox({"Herdeiros só em declaração final de espólio"});
        return;
      }
      go(4);
      break;
    case 51:
      go(5);
      break;
    case 52:
    case 53:
      state_.zoom_bem2 = code == 52;
      state_.zoom_div2 = code == 53;
      go(kScreenAssetsOnly);
      break;
    case 54:
    case 55:
      state_.zoom_bem = code == 54;
      state_.zoom_div = code == 55;
      go(kScreenZoom);
      break;
    case 56:
      SpouseInformation();
      break;
    case 57:
      if (Trimmed(vars, "DECSAIDA") == "S") {
        ErrorBox({"Essa declaração está marcada como uma  ",
                  "Declaração de saída definitiva do país ",
                  " e não pode, portanto, ser uma de Espólio"});
        return;
      }
      go(5);
      break;
    case 58:
      if (Trimmed(vars, "DECFINAL") == "S") {
        ErrorBox({"Essa declaração está marcada como uma  ", "Declaração final de espólio ",
                  " e não pode, portanto, ser uma de Saída definitiva"});
        return;
      }
      go(5);
      break;
    case 61:
      go(6);
      break;
    case 62: {
      const Status s = hooks_.CheckDeclaration(session_);
      if (!s.ok()) ErrorBox({"Erro ao conferir a declaração: " + s.message()});
      go(11);
      break;
    }
    case 63:
      run_action(63, "Notas pessoais");
      break;
    case 71:
      go(7);
      break;
    case 72:
      go(10);
      break;
    case 81:
    case 82:
    case 83:
    case 84:
    case 85:
    case 86:
    case 87:
    case 88: {
      const bool dependants = code >= 85;
      if (dependants && !need_dependants()) return;
      const int kind = code - (dependants ? 84 : 80);
      // Foreign currency is kind 5 for the taxpayer and the dependants alike.
      state_.tipo_bem = kind == 4 ? 5 : kind;
      if (kind == 2) state_.bembrasil = variant.empty() ? "S" : std::string(variant);
      state_.dependants_gain = dependants;
      go(8);
      break;
    }
    case 91:
    case 92:
    case 93:
    case 94:
    case 95:
    case 96: {
      const bool dependants = code >= 94;
      if (dependants && !need_dependants()) return;
      state_.tipo_bem = 4;
      state_.day_trade = std::to_string(code - (dependants ? 93 : 90));
      state_.dependants_gain = dependants;
      go(9);
      break;
    }
    case 101:
    case 201:
      if (rural_activity()) go(12);
      break;
    case 102:
      if (rural_activity()) go(13);
      break;
    case 103:
    case 104:
    case 105:
    case 106:
    case 203:
    case 204:
    case 205:
    case 206:
      if (rural_activity()) go(code % 100 + 11);
      break;
    case 107:
    case 108:
      if (!lcdpr()) {
        ErrorBox({"Esse cadastro só é necessário para o",
                  "Livro Caixa Digital do Produtor Rural (LCDPR)"});
        return;
      }
      run_action(code, code == 107 ? "Cadastro dos Bancos" : "Contador do LCDPR");
      break;
    case 109:
      if (!lcdpr()) {
        ErrorBox({"Esse arquivo só é gerado para quem usa o",
                  "Livro Caixa Digital do Produtor Rural (LCDPR)"});
        return;
      }
      run_action(109, "Gera Arquivo LCDPR");
      break;
    case 120:
      OutsideCalculator();
      break;
    case 121:
      HelpGeneral();
      break;
    case 122:
      HelpKeys();
      break;
    case 123:
      About();
      break;
    default:
      break;
  }
}

}  // namespace dodu::shell
