// The declaration's tools: the currency converter (Alt U), the calculators
// (Alt K, code 120), the help boxes (121, 122) and the version box (123).
#include <string>
#include <vector>

#include "core/codepage.h"
#include "core/text_helpers.h"
#include "entry/monthly_values.h"
#include "screen/form.h"
#include "screen/message_box.h"
#include "shell/declaration_menu_window.h"
#include "tax/exercise.h"

namespace dodu::shell {

using core::Cp850;
using core::Decimal;

const std::vector<std::string>& HelpGeneralLines() {
  static const std::vector<std::string> kLines = {
      "Alt   No menu inicial (fora da declaração) marca ou desmarca a letra sublinhada no menu.",
      "Quando marcada basta digitar a letra marcada (em maiúscula) para ir no item selecionado.",
      "Teclas de movimentação rápida nas telas tipo 'browse'",
      "Home - Vai para a primeira coluna que aparece na tela.",
      "End  - Vai para a última coluna que aparece na tela.",
      "Ctrl - Home Vai para a primeira coluna do browse",
      "Ctrl End  - Vai para a última coluna do browse",
      "Page Down - Vai última linha que aparece na tela.",
      "Page Up   - Vai para a primeira linha que aparece na tela.",
      "Ctrl Page Down - Vai última linha do Browse",
      "Ctrl Page Up   - Vai para a primeira linha do Browse",
      "Dentro de uma linha de edição",
      "Ctrl Y Apaga a linha a partir do cursor.",
      "End  Fim da linha",
      "Home  Começo da linha",
      "Ctrl setas direita ou esquerda - pula palavras conforme a direção da seta."};
  return kLines;
}

const std::vector<std::string>& HelpKeysLines() {
  static const std::vector<std::string> kLines = {
      "Alt + Marca com S todas pessoas em uma tela de seleção aberta.",
      "Alt + Na tela F1 mostra todos os campos da linha selecionada.",
      "Alt - Marca com N todas pessoas em uma tela de seleção aberta.",
      "Alt A (Altera) Muda a o preenchimento usada na Física ou no AAR ",
      "Alt B (Busca) valores dos sinais de riqueza no balanço.",
      "      Na tela F1- busca os bancos se na fonte pag. ou no CNPJ",
      "Alt C (Copia) Transfere o texto copiado pelo o ALT M para o campo",
      "Alt E (Elimina) Elimina n linhas na declaração de bens e ônus",
      "Alt H (Hora) Liga/Desliga Relógio (Desliga após tempo sem uso)",
      "Alt J (Junta) Nos BENS cols dado salvo pelo Alt M no fim de uma linha",
      "Alt L (Linha) Inclui N linhas na declaração de bens e ônus",
      "Alt K Abre a calculadora do Windows",
      "Alt M (Move) Transfere linha ou um campo para a memória",
      "Alt N Alterna a opção de transferir o C.Leão pago ou devido ",
      "Alt O No L.Caixa da PF ou AAR organiza pela coluna que estiver.",
      "      No Cod de Bens,Dividas (PF ou AAR) ordena os códigos",
      "Alt P No local do programa da receita traz o endereço padrão",
      "Alt R (Reorganizar) A numeração dos itens nos bens/dívida (IR/AAR).",
      "Alt Q Mostra detalhes do imóvel na declaração de bens.",
      "Alt S Calculadora - Ctrl Enter-Transfere o resultado para o campo.",
      "Alt T (Termina) Termina uma declaração ou sai do programa.",
      "Alt I (Iniciar) Abre a tela de seleção do contribuinte na declaração.",
      "Alt U (US$) Transforma R$ <-> US$. Serve também como uma somadora.",
      "    Nos pagamentos de pensão(30 a 34) manda p/ F2 os valores mensais.",
      "Alt V Traz da área de transferência do Windows para o campo.",
      "Alt X ou Alt Z(Zoom) Amplia declaração de bens ou ônus ",
      "Alt W Grava a declaração e permanece na declaração",
      "Alt F1 Tela auxiliar da F1 Guarda a lista das fontes pagadoras e CNPJ",
      "Alt F1 estando no CNPJ aparecerá a lista dos Bancos com seu CNPJ",
      "Alt F3 vai para a tela do rendimento do Conjuge.",
      "Alt F4 Tela auxiliar da tela 4 (Pagamentos) p/ guardar dados repetitivos",
      "Alt F5 Tela auxiliar da tela 5 (Bens) p/ guardar dados repetitivos",
      "Alt F6 Abre na tela 5 a tela para preencher prejuízos sem G.Cap.",
      "Alt F7 Vai para a tela de pagamentos e doações.",
      "Alt 2 e 3 No LCaixa do AAR. Alt 2 =inicio e Alt 3=final para uma soma",
      "Nos Bens, nas dívidas e na tela de observações (F11)",
      "Alt (Seta p/cima) Copia uma linha p/ a memória, somando a(s) ja existente(s)",
      "Alt End. Fim da cópia feita pelo Alt Up e envia para a área do Windows",
      "Alt (Seta p/baixo) Traz para a tela a(s) linha(s) copiada(s) da área do Windows.",
      "Alt End. Fim da cópia feita pelo Alt Up e envia para a área do Windows",
      "Ctrl C Copia o campo para a área de transferência do Windows.",
      "Ctrl Enter na senha do Ecac acessa site receita. No Beneficio acessa o INSS"};
  return kLines;
}

namespace {

// Both help boxes sound the information beep.
void HelpBox(screen::Toolkit& tk, const std::vector<std::string>& utf8, const char* title) {
  std::vector<std::string> lines;
  for (const auto& l : utf8) lines.push_back(Cp850(l));
  tk.Tone(1000, 100);
  screen::AVISOSN(tk, lines, 1, {}, Cp850(title));
}

}  // namespace

void DeclarationWindow::HelpGeneral() { HelpBox(st_.tk, HelpGeneralLines(), "Ajudas gerais"); }
void DeclarationWindow::HelpKeys() { HelpBox(st_.tk, HelpKeysLines(), "Teclas especiais"); }

void DeclarationWindow::About() {
  screen::AVISOSN(st_.tk, {Cp850("DODU2020 Versão ") + kVersao, std::string("de ") + kCultimaver},
                  0, {}, "Sobre o IR");
}

void DeclarationWindow::OutsideCalculator() {
  const auto& program = options_.calculator_program;
  const bool display =
      st_.env.GetEnv("DISPLAY").has_value() || st_.env.GetEnv("WAYLAND_DISPLAY").has_value();
  if (!program.empty() && display) {
    platform::SpawnOptions o;
    o.wait = false;
    if (st_.tk.terminal().Launch(program, o).ok()) return;
    // A program that does not start leaves the toolkit's calculator.
  }
  (void)calculator_.Run(st_.tk, 5, 27);
}

// The same truncated conversions as the monthly values window.
Decimal ReaisToDollars(const Decimal& reais, int month) {
  return entry::SecondColumnOf(reais, tax::kDollarRate.at(static_cast<size_t>(month - 1)),
                               entry::MonthlyVariant::kDollar);
}

Decimal DollarsToReais(const Decimal& dollars, int month) {
  return entry::ValueOfDollars(dollars, tax::kDollarRate.at(static_cast<size_t>(month - 1)));
}

namespace {

constexpr char kMoneyPicture[] = "@Ez 999,999,999.99";

// The converter window of the sale value and the foreign tax paid: R$, US$ and
// the month, each change recomputing the other currency. The R$ value when
// left with Esc.
Decimal RunDollarWindow(screen::Toolkit& tk, const Decimal& start) {
  screen::MapVariableStore vars;
  vars.Define("REAIS", start);
  vars.Define("DOLARES", ReaisToDollars(start, 1));
  vars.Define("MES", Decimal::FromInt(1));
  const int top = 8, left = 22, bottom = 13, right = 57;
  const auto attr = static_cast<screen::Attr>(tk.colours().COR_TEL3);
  const screen::SavedRegion under = tk.Save(top, left, bottom + 1, right + 1);
  tk.Fill(top, left, bottom, right, ' ', attr);
  tk.Frame(top, left, bottom, right, attr, "R$ \x1B\x1A $US");
  tk.Write(top + 1, left + 2, "R$  :", attr);
  tk.Write(top + 2, left + 2, "US$ :", attr);
  tk.Write(top + 3, left + 2, Cp850("Mês :"), attr);
  const std::vector<screen::FormField> fields = {
      {top + 1, left + 8, "REAIS", kMoneyPicture, 0, nullptr, nullptr},
      {top + 2, left + 8, "DOLARES", kMoneyPicture, 0, nullptr, nullptr},
      {top + 3, left + 8, "MES", "99", 0, nullptr,
       [](screen::VariableStore&, screen::ActiveField& f) {
         auto v = f.value();
         if (!v.ok()) return false;
         const Decimal m = std::get<Decimal>(*v);
         return m >= Decimal::FromInt(1) && m <= Decimal::FromInt(12);
       }}};
  auto number = [&vars](const char* name) { return std::get<Decimal>(*vars.Get(name)); };
  int active = 0;
  while (true) {
    const int month = static_cast<int>(number("MES").ToScaled(0));
    tk.Write(top + 3, left + 12, core::TrazMes(month).value_or("         "), attr);
    screen::Form all(tk, vars, fields);
    (void)all.Draw();
    const char* name = fields[static_cast<size_t>(active)].name.c_str();
    const Decimal before = number(name);
    screen::Form one(tk, vars, {fields[static_cast<size_t>(active)]});
    auto r = one.Read();
    if (!r.ok() || r->end == screen::FormEnd::kEscaped) break;
    // Only a changed figure is converted: passing over a field keeps both
    // (a round trip through the rate would lose a cent).
    if (number(name) != before) {
      const int m = static_cast<int>(number("MES").ToScaled(0));
      if (active == 1) {
        (void)vars.Set("REAIS", DollarsToReais(number("DOLARES"), m));
      } else {
        (void)vars.Set("DOLARES", ReaisToDollars(number("REAIS"), m));
      }
    }
    if (r->key.type == screen::KeyType::kUp) {
      active = (active + 2) % 3;
    } else {
      active = (active + 1) % 3;
    }
  }
  tk.Restore(under);
  tk.Flush();
  return number("REAIS");
}

}  // namespace

void DeclarationWindow::Converter(screen::ActiveField& field) {
  if (converter_running_) return;
  if (field.kind() != screen::EditKind::kNumber || field.width() <= 9) return;
  struct Running {
    bool& flag;
    ~Running() { flag = false; }
  } running{converter_running_};
  converter_running_ = true;
  screen::Toolkit& tk = st_.tk;
  const std::string& name = field.name();
  if (state_.pos.tela == kScreenCalculation && name == "I13_31") {
    screen::AVISOSN(
        tk, Cp850("Tecle antes CTRL ENTER para acionar o conversor mensal do DOLAR        "), 1);
    return;
  }
  if (name == "VAL_ALI" || name == "I13_4" || name == "I13_04") {
    auto now = field.value();
    const Decimal start = now.ok() ? std::get<Decimal>(*now) : Decimal();
    (void)field.set_value(RunDollarWindow(tk, start));
    return;
  }
  entry::MonthlyValuesInput input;
  input.rates = tax::kDollarRate;
  auto result = entry::RunMonthlyValues(tk, input);
  if (result.ok() && result->total.Sign() > 0) (void)field.set_value(result->total);
}

}  // namespace dodu::shell
