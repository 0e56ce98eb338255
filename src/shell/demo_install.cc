#include "shell/demo_install.h"


#include "core/codepage.h"
#include "core/date.h"
#include "core/decimal.h"
#include "platform/message_sink.h"
#include "platform/paths.h"
#include "store/opener.h"
#include "store/opener_context.h"
#include "store/workarea.h"

namespace dodu::shell {
namespace {

constexpr int kRegister = 9;
constexpr int kLastDeclarationTable = 21;

// The register fields of the demonstration taxpayer (UTF-8), besides CPF and
// name: a resident of São Paulo, employed, filing the complete model.
struct RegisterValue {
  const char* field;
  const char* value;
};
constexpr RegisterValue kDemoRegister[] = {
    {"RETIFICA", "N"},
    {"TIPOEND", "RUA"},
    {"ENDERECO", "DAS ACÁCIAS"},
    {"NUMERO", "120"},
    {"COMPLEM", "APTO 31"},
    {"BAIRRO", "JARDIM PAULISTA"},
    {"CEP", "01403-000"},
    {"CODMUNI", "7107"},
    {"MUNICIPIO", "SÃO PAULO"},
    {"UF", "SP"},
    {"CODPAIS", "105"},
    {"DDDTEL", "11"},
    {"TELEFO", "33334444"},
    {"TELCELU", "987654321"},
    {"EMAIL", "maria.conceicao@example.com.br"},
    // Voter title 10293847 of SP (01), check digits 4 and 1.
    {"TITULO", "102938470141"},
    {"CGCPAGADOR", "47.285.193/0001-38"},
    {"CDPRO", "291"},
    {"OCUPACAO", "Professor do ensino fundamental"},
    {"CODAT", "01"},
    {"DESCRAT", "Empregado de empresa do setor privado, exceto de instituições financeiras"},
    {"TEMRURAL", "N"},
    {"E_INVALIDO", "N"},
    {"EBRASIL", "S"},
    {"EXTERIOR", "N"},
    {"NOVOEND", "N"},
    {"USAPADRAO", "N"},
    {"NOVO", "S"},
};

Status FillTaxpayer(store::Record& r) {
  DODU_RETURN_IF_ERROR(r.PutText("CPF", kDemoTaxpayerCpf));
  DODU_RETURN_IF_ERROR(r.PutText("NOMECONTR", core::Cp850(kDemoTaxpayerName)));
  for (const RegisterValue& v : kDemoRegister) {
    DODU_RETURN_IF_ERROR(r.PutText(v.field, core::Cp850(v.value)));
  }
  DODU_RETURN_IF_ERROR(r.PutDate("NASCIMENTO", *core::Date::FromYmd(1975, 3, 14)));
  DODU_RETURN_IF_ERROR(r.PutNumber("ESTATUS", core::Decimal::FromInt(1)));
  return Status::Ok();
}

Status MakeFolder(platform::Env& env, const std::string& folder) {
  if (env.IsDirectory(folder)) return Status::Ok();
  const std::string parent = platform::ParentPath(folder);
  if (!parent.empty() && !env.IsDirectory(parent)) {
    return Status::NotFound("folder " + parent + " does not exist");
  }
  return env.CreateDir(folder);
}

// Adds the demonstration taxpayer to the open register unless its CPF is there.
Result<bool> AddTaxpayer(store::WorkArea& reg) {
  DODU_RETURN_IF_ERROR(reg.SetOrder(1));
  DODU_ASSIGN_OR_RETURN(bool found, reg.Seek(kDemoTaxpayerCpf));
  if (found) return false;
  store::Table& table = reg.table();
  store::Record r = table.BlankRecord();
  DODU_RETURN_IF_ERROR(FillTaxpayer(r));
  DODU_ASSIGN_OR_RETURN(store::RecNo recno, table.Append(r));
  table.UnlockRecord(recno);
  return true;
}

}  // namespace

Result<DemoInstallation> InstallDemo(platform::Env& env, const std::string& folder,
                                     const std::string& reference_folder) {
  DODU_RETURN_IF_ERROR(MakeFolder(env, folder));
  DemoInstallation demo;
  demo.installation_folder = folder;
  demo.data_folder = folder;

  Result<std::string> lists = ReferenceDataFolder(env, reference_folder);
  demo.reference = BuildReferenceTables(env, folder, lists.ok() ? *lists : std::string());

  platform::RecordingSink sink;
  store::RecordingWaitObserver wait;
  store::OpenerContext ctx(env, sink, wait);
  ctx.installation_folder = folder;
  ctx.data_folder = folder;
  ctx.work_folder = folder;
  store::WorkAreas areas;
  for (int n = 1; n <= kLastDeclarationTable; ++n) {
    DODU_RETURN_IF_ERROR(store::ABERTURA(ctx, areas, n));
    if (n != kRegister) areas.Close(n);
  }
  store::WorkArea* reg = areas.Get(kRegister);
  if (reg == nullptr) return Status::NotFound(folder + ": the register was not opened");
  DODU_ASSIGN_OR_RETURN(demo.taxpayer_added, AddTaxpayer(*reg));
  areas.CloseAll();
  return demo;
}

std::vector<std::string> DemoReportLines(const DemoInstallation& demo) {
  std::vector<std::string> lines;
  for (const std::string& line : ReferenceReportLines(demo.reference)) {
    lines.push_back(core::Cp850ToUtf8(line));
  }
  lines.push_back(std::string(demo.taxpayer_added ? "Contribuinte de demonstração incluído: "
                                                  : "Contribuinte de demonstração já cadastrado: ") +
                  kDemoTaxpayerCpf + " " + kDemoTaxpayerName);
  return lines;
}

}  // namespace dodu::shell
