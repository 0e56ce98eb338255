// The system's own reference lists: the texts and severities of the warning
// codes the declaration check records, the starting status codes, street types
// and chart of accounts. The office may change all of them afterwards.
#include <string>

#include "shell/reference_tables_rows.h"

namespace dodu::shell::reference {
namespace {

struct Warning {
  int code;
  int severity;  // 1 error, 2 danger, 3 attention
  int screen;    // the declaration screen to go to (0: as the finding says)
  const char* text;
};

// A finding's text is this text followed by the finding's own suffix, so most
// texts end where the suffix begins ("Falta informar" + " o email (opcional)").
// Code 99 carries the whole text in the finding.
constexpr Warning kWarnings[] = {
    {1, 3, 3, "Valor negativo em rendimento de tributacao exclusiva"},
    {2, 3, 3, "Valor negativo em rendimento isento"},
    {6, 3, 3, "Ganho de capital sem demonstrativo no GCAP"},
    {8, 3, 6, "Falta o numero do titulo de eleitor"},
    {10, 3, 2, "Rendimento de pessoa fisica muito acima da media mensal"},
    {11, 3, 2, "Livro-caixa de um mes muito acima da media mensal"},
    {14, 1, 1, "Imposto retido maior que o rendimento"},
    {15, 1, 4, "Falta o nome do dependente ou alimentando"},
    {16, 1, 4, "Falta o codigo de dependencia"},
    {17, 1, 4, "Falta a data de nascimento do dependente"},
    {18, 1, 4, "Falta o nome do beneficiario do pagamento"},
    {19, 1, 4, "Falta o CPF/CNPJ do beneficiario do pagamento"},
    {20, 3, 0, "GCAP de imovel sem endereco, CEP ou municipio"},
    {21, 1, 6, "Endereco, CEP, municipio ou UF nao preenchido"},
    {22, 2, 10, "Saldo negativo: variacao patrimonial a descoberto"},
    {23, 3, 0, "GCAP de participacao societaria com custo zero"},
    {24, 3, 10, "Imovel declarado sem despesas de manutencao"},
    {25, 3, 10, "Nenhuma despesa pessoal informada"},
    {26, 2, 1, "Fonte pagadora sem nenhum valor"},
    {27, 1, 4, "Pagamento sem valor pago nem reembolsado"},
    {28, 1, 5, "Falta o nome ou o endereco do inventariante"},
    {31, 1, 4, "Falta o codigo do pagamento"},
    {32, 1, 5, "Faltam dados da partilha ou da escritura"},
    {34, 1, 6, "Falta o codigo do municipio"},
    {35, 1, 4, "Pensao alimenticia sem o numero do alimentando"},
    {40, 3, 4, "Total anterior dos bens difere da declaracao anterior"},
    {41, 3, 4, "Total anterior das dividas difere da declaracao anterior"},
    {45, 1, 1, "Rendimento de dependente sem o CPF do dependente"},
    {46, 1, 4, "CPF do dependente obrigatorio para"},
    {47, 1, 4, "Pagamento com numero de dependente inexistente"},
    {48, 1, 4, "Pensao com numero de alimentando inexistente"},
    {49, 3, 4, "Despesas medicas elevadas: guarde os comprovantes"},
    {50, 3, 5, "Bens no exterior acima de US$ 100.000 (declarar ao BACEN)"},
    {51, 3, 10, "Espolio sem despesas pessoais informadas"},
    {52, 3, 4, "Plano de saude e despesas medicas elevados"},
    {53, 1, 6, "Retificadora sem o recibo da declaracao retificada"},
    {54, 3, 6, "Falta o numero do recibo da declaracao de"},
    {55, 2, 4, "Dependente ate 21 anos com codigo de universitario"},
    {56, 1, 4, "Dependente acima da idade permitida pelo codigo"},
    {57, 2, 4, "Dependente de 22 a 24 anos com codigo de ate 21 anos"},
    {58, 1, 5, "Espolio sem CPF, nome ou endereco do inventariante"},
    {60, 3, 0, "GCAP de imovel sem a descricao"},
    {61, 1, 4, "CNPJ do beneficiario incompleto no"},
    {62, 1, 4, "CPF do beneficiario incompleto no"},
    {63, 3, 0, "GCAP de bem movel sem a descricao"},
    {64, 3, 0, "GCAP de participacao societaria sem a descricao"},
    {65, 1, 12, "Atividade rural sem imovel explorado"},
    {66, 1, 12, "Imovel rural sem o nome"},
    {67, 1, 12, "Imovel rural sem a area"},
    {68, 1, 12, "Imovel rural sem o NIRF"},
    {69, 1, 12, "Imovel rural sem o percentual de participacao"},
    {70, 1, 12, "Imovel rural sem a condicao de exploracao"},
    {71, 1, 12, "Imovel rural sem a localizacao"},
    {72, 1, 12, "Imovel rural sem o codigo"},
    {73, 2, 2, "Despesas do livro-caixa maiores que o rendimento do trabalho"},
    {74, 1, 1, "Lucro distribuido com fonte pagadora sem CNPJ"},
    {75, 1, 1, "Rendimento acumulado sem o numero de meses"},
    {77, 2, 4, "Doacao nao deve indicar dependente ou alimentando"},
    {78, 3, 0, "Parcelas recebidas maiores que o valor da venda"},
    {79, 3, 3, "Rendimento isento informado: confira o comprovante"},
    {80, 3, 4, "Doacao efetuada: guarde o recibo do donatario"},
    {81, 1, 1, "Falta o nome da fonte"},
    {82, 1, 1, "Falta a descricao do rendimento"},
    {83, 2, 0, "Falta informar"},
    {84, 1, 1, "Falta o CNPJ/CPF da fonte pagadora"},
    {85, 3, 4, "Pais ou avos com idade incompativel com a do titular"},
    {86, 3, 4, "Doacao em especie acima de R$ 30.000,00"},
    {87, 3, 3, "Rendimento isento acima de R$ 30.000,00"},
    {91, 1, 2, "Espolio: lancamento apos o mes da partilha"},
    {92, 1, 4, "CPF do conjuge difere do informado na identificacao"},
    {93, 1, 5, "Espolio final com bem sem valor na partilha"},
    {99, 3, 0, ""},
};

struct Account {
  const char* code;
  const char* text;
  int page;  // 0: a title account
  int line;
  const char* cpf;   // TEMCPF
  const char* cnpj;  // TEMCGC
  const char* months;
  const char* source;
  const char* note;
};

// Codes: first digit the group, then the line of the declaration page the
// account feeds (page 3 line 4 split by the last digit: 5041..5044).
constexpr Account kAccounts[] = {
    {"1000", "RENDIMENTOS TRIBUTÁVEIS RECEBIDOS DE PESSOA JURÍDICA", 0, 0, "N", "N", "N", "N", "N"},
    {"1040", "Rendimento tributável recebido de pessoa jurídica", 1, 4, "S", "S", "N", "S", "N"},
    {"1050", "Imposto retido na fonte", 1, 5, "S", "S", "N", "S", "N"},
    {"1060", "Contribuição previdenciária oficial", 1, 6, "S", "S", "N", "S", "N"},
    {"1070", "Décimo terceiro salário", 1, 7, "S", "S", "N", "S", "N"},
    {"1080", "Imposto retido sobre o décimo terceiro", 1, 8, "S", "S", "N", "S", "N"},
    {"1090", "Rendimento com exigibilidade suspensa", 1, 9, "S", "S", "N", "S", "N"},
    {"1100", "Depósito judicial do imposto", 1, 10, "S", "S", "N", "S", "N"},
    {"2000", "RENDIMENTOS DE PESSOA FÍSICA E DO EXTERIOR", 0, 0, "N", "N", "N", "N", "N"},
    {"2010", "Rendimento recebido de pessoa física", 2, 1, "N", "N", "S", "N", "N"},
    {"2020", "Rendimento recebido do exterior", 2, 2, "N", "N", "S", "N", "N"},
    {"2030", "Despesa escriturada em livro-caixa", 2, 3, "N", "N", "S", "N", "N"},
    {"2040", "Contribuição ao INSS por carnê", 2, 4, "N", "N", "S", "N", "N"},
    {"2050", "Carnê-leão pago", 2, 5, "N", "N", "S", "N", "N"},
    {"5000", "RENDIMENTOS ISENTOS E NÃO TRIBUTÁVEIS", 0, 0, "N", "N", "N", "N", "N"},
    {"5010", "Bolsas de estudo e de pesquisa", 3, 1, "S", "S", "N", "S", "N"},
    {"5030", "Indenizações por rescisão de contrato de trabalho", 3, 3, "S", "S", "N", "S", "N"},
    {"5041", "Ganho de capital na alienação de bem de pequeno valor", 3, 4, "N", "N", "N", "N", "N"},
    {"5042", "Ganho de capital na alienação do único imóvel", 3, 4, "N", "N", "N", "N", "N"},
    {"5043", "Ganho de capital: parcela isenta pela redução", 3, 4, "N", "N", "N", "N", "N"},
    {"5044", "Ganho de capital isento: demais casos", 3, 4, "N", "N", "N", "N", "N"},
    {"5050", "Lucros e dividendos recebidos", 3, 5, "N", "S", "N", "S", "N"},
    {"5060", "Parcela isenta de aposentadoria de maior de 65 anos", 3, 6, "S", "S", "N", "S", "N"},
    {"5070", "Aposentadoria por moléstia grave", 3, 7, "S", "S", "N", "S", "N"},
    {"5080", "Rendimento de caderneta de poupança", 3, 8, "N", "S", "N", "S", "N"},
    {"5090", "Rendimento de sócio ou titular de ME ou EPP", 3, 9, "N", "S", "N", "S", "N"},
    {"5100", "Doações e heranças recebidas", 3, 10, "S", "S", "N", "S", "N"},
    {"5140", "Incorporação de reservas ao capital", 3, 14, "N", "S", "N", "S", "N"},
    {"5150", "Bolsa de médico residente", 3, 15, "S", "S", "N", "S", "N"},
    {"5240", "Outros rendimentos isentos", 3, 24, "S", "S", "N", "S", "S"},
    {"6000", "RENDIMENTOS SUJEITOS À TRIBUTAÇÃO EXCLUSIVA", 0, 0, "N", "N", "N", "N", "N"},
    {"6040", "Rendimento de aplicação financeira", 4, 4, "N", "S", "N", "S", "N"},
    {"6080", "Juros sobre capital próprio", 4, 8, "N", "S", "N", "S", "N"},
    {"6090", "Participação nos lucros ou resultados", 4, 9, "N", "S", "N", "S", "N"},
    {"6100", "Outros rendimentos de tributação exclusiva", 4, 10, "S", "S", "N", "S", "S"},
    {"7000", "PAGAMENTOS EFETUADOS", 0, 0, "N", "N", "N", "N", "N"},
    {"7010", "Instrução no Brasil", 6, 1, "S", "S", "N", "S", "N"},
    {"7100", "Médicos no Brasil", 6, 10, "S", "S", "N", "S", "N"},
    {"7110", "Dentistas no Brasil", 6, 11, "S", "S", "N", "S", "N"},
    {"7210", "Hospitais, clínicas e laboratórios no Brasil", 6, 21, "S", "S", "N", "S", "N"},
    {"7260", "Planos de saúde no Brasil", 6, 26, "S", "S", "N", "S", "N"},
    {"7360", "Previdência complementar", 6, 36, "S", "S", "N", "S", "N"},
    {"7500", "Contribuição patronal do empregador doméstico", 6, 50, "S", "N", "S", "S", "N"},
    {"7700", "Aluguéis de imóveis", 6, 70, "S", "S", "N", "S", "N"},
    {"9000", "CÁLCULO DO IMPOSTO", 0, 0, "N", "N", "N", "N", "N"},
    {"9310", "Imposto complementar pago", 13, 31, "N", "N", "N", "N", "N"},
    {"9320", "Imposto pago no exterior", 13, 32, "N", "N", "N", "N", "N"},
};

}  // namespace

std::vector<ReferenceRow> WarningRows() {
  std::vector<ReferenceRow> rows;
  for (const Warning& w : kWarnings) {
    rows.push_back(ReferenceRow()
                       .Set("CODERR", std::to_string(w.code))
                       .Set("DESCRI", w.text)
                       .Set("GRAU", std::to_string(w.severity))
                       .Set("PAGINA", std::to_string(w.screen)));
  }
  return rows;
}

std::vector<ReferenceRow> StatusRows() {
  static const char* const kStatus[][2] = {
      {"1", "EM DIGITAÇÃO"}, {"2", "AGUARDA DOCS."}, {"3", "CONFERINDO"}, {"4", "CONFERIDA"},
      {"5", "TRANSMITIDA"},  {"6", "RETIFICADA"},    {"9", "ARQUIVADA"},
  };
  std::vector<ReferenceRow> rows;
  for (const auto& s : kStatus) rows.push_back(ReferenceRow().Set("COD", s[0]).Set("DESCRICAO", s[1]));
  return rows;
}

std::vector<ReferenceRow> StreetTypeRows() {
  // Names fit the register's street-type field (11 characters).
  static const char* const kTypes[] = {
      "ALAMEDA", "AVENIDA", "BECO",    "CHÁCARA", "CONDOMÍNIO", "CONJUNTO", "ESTRADA",
      "FAZENDA", "LADEIRA", "LARGO",   "PARQUE",  "PASSAGEM",   "PRAÇA",    "QUADRA",
      "RODOVIA", "RUA",     "SERVIDÃO", "SETOR",  "SÍTIO",      "TRAVESSA", "VIA",
      "VIELA",   "VILA",
  };
  std::vector<ReferenceRow> rows;
  for (const char* t : kTypes) rows.push_back(ReferenceRow().Set("NOMELOGRA", t));
  return rows;
}

std::vector<ReferenceRow> AccountRows() {
  std::vector<ReferenceRow> rows;
  for (const Account& a : kAccounts) {
    rows.push_back(ReferenceRow()
                       .Set("CDCONTA", a.code)
                       .Set("NMDESCRICA", a.text)
                       .Set("CDSTATUS", a.page == 0 ? "N" : "S")
                       .Set("PAGINA", std::to_string(a.page))
                       .Set("LINHA", std::to_string(a.line))
                       .Set("TEMCPF", a.cpf)
                       .Set("TEMCGC", a.cnpj)
                       .Set("LIVROCX", a.months)
                       .Set("TEMDESCR", a.source)
                       .Set("TEMOBSV", a.note));
  }
  return rows;
}

}  // namespace dodu::shell::reference
