#include "import/import_file.h"

#include "core/codepage.h"
#include "platform/env.h"
#include "platform/paths.h"
#include "store/key_expr.h"
#include "store/opener.h"

namespace dodu::import {
namespace {

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A lookup by the first order of reference table `number`: the trimmed text of
// `field` of the record whose key is `key`.
std::optional<std::string> Lookup(store::WorkAreas& areas, int number, int order,
                                  const std::string& key, const char* field) {
  store::WorkArea* a = areas.Get(number);
  if (a == nullptr || key.empty()) return std::nullopt;
  if (!a->SetOrder(order).ok()) return std::nullopt;
  Result<bool> hit = a->Seek(key);
  if (!hit.ok() || !*hit) return std::nullopt;
  Result<store::Record> r = a->Current();
  if (!r.ok()) return std::nullopt;
  Result<std::string> v = r->GetTrimmed(field);
  if (!v.ok()) return std::nullopt;
  return *v;
}

}  // namespace

Status CRIA_BASE(store::OpenerContext& ctx, store::WorkAreas& areas) {
  for (int n = 1; n <= 21; ++n) {
    DODU_RETURN_IF_ERROR(store::ABERTURA(ctx, areas, n));
    areas.Close(n);
  }
  return Status::Ok();
}

ConversionInputs ReferenceLookups(store::OpenerContext& ctx, store::WorkAreas& areas) {
  for (int n : {46, 55, 58, 59}) (void)store::ABERTURA(ctx, areas, n);
  ConversionInputs in;
  store::WorkAreas* a = &areas;
  in.occupation = [a](const std::string& code) {
    return Lookup(*a, 58, 1, code, "OCUPACAO").value_or("");
  };
  in.activity = [a](const std::string& code) {
    return Lookup(*a, 59, 1, code, "DESCRAT").value_or("");
  };
  in.bank_by_number = [a](const std::string& n) { return Lookup(*a, 55, 1, n, "NOMEBAN"); };
  in.bank_by_cnpj = [a](const std::string& cnpj) { return Lookup(*a, 55, 3, cnpj, "NOMEBAN"); };
  in.upkeep_description = [a](int code) {
    Result<std::string> key = store::NumericKeyFromText(std::to_string(code));  // CODBEM is numeric
    return key.ok() ? Lookup(*a, 46, 1, *key, "DESPBEM").value_or("") : std::string();
  };
  return in;
}

Result<ImportOutcome> ImportFile(store::OpenerContext& ctx, store::WorkAreas& areas,
                                 const std::string& path, ImportMode mode,
                                 const ConversionInputs& in) {
  DODU_ASSIGN_OR_RETURN(std::string bytes, platform::ReadWholeFile(ctx.env, path));
  const std::string name = BaseName(path);
  Result<TaxpayerPlan> plan = Status::Invalid("");
  if (mode == ImportMode::kLeao) {
    DODU_ASSIGN_OR_RETURN(LeaoFile leao, ParseLeaoFile(name, bytes));
    DODU_ASSIGN_OR_RETURN(Existing existing, ReadExisting(ctx, areas, leao.first.Text("CPF")));
    plan = ConvertLeao(leao, existing);
  } else if (mode == ImportMode::kRuralBook) {
    return Status::Invalid(core::Cp850("O livro caixa rural é lido e ainda não importado"));
  } else {
    DODU_ASSIGN_OR_RETURN(DeclarationFile file,
                          ParseDeclarationFile(name, bytes, mode == ImportMode::kPrefilled));
    DODU_ASSIGN_OR_RETURN(Existing existing, ReadExisting(ctx, areas, file.cpf()));
    switch (mode) {
      case ImportMode::kWhole:
      case ImportMode::kPrefilled:
        plan = ConvertDeclaration(file, mode, existing, in);
        break;
      case ImportMode::kReceipts: {
        std::optional<ReceiptFile> receipt;
        const std::string rec_path =
            path.size() >= 3 ? path.substr(0, path.size() - 3) + "REC" : path;
        if (ctx.env.Exists(rec_path)) {
          DODU_ASSIGN_OR_RETURN(std::string rec_bytes, platform::ReadWholeFile(ctx.env, rec_path));
          DODU_ASSIGN_OR_RETURN(receipt, ParseReceiptFile(BaseName(rec_path), rec_bytes));
        }
        plan = ConvertReceipts(file, receipt ? &*receipt : nullptr, existing);
        break;
      }
      case ImportMode::kIndividuals:
        plan = ConvertIndividuals(file, existing);
        break;
      case ImportMode::kGains:
        return Status::Invalid(
            core::Cp850("Os ganhos de capital do arquivo foram lidos e ainda "
                        "não são importados"));
      case ImportMode::kRural:
        return Status::Invalid(
            core::Cp850("A atividade rural do arquivo foi lida e ainda não é "
                        "importada"));
      default:
        return Status::Invalid("modo " + std::to_string(static_cast<int>(mode)));
    }
  }
  if (!plan.ok()) return plan.status();
  ImportOutcome out;
  out.cpf = plan->cpf;
  out.name = plan->name;
  DODU_ASSIGN_OR_RETURN(out.report, ApplyPlan(ctx, areas, *plan));
  out.notes = plan->notes;
  out.notes.insert(out.notes.end(), out.report.notes.begin(), out.report.notes.end());
  return out;
}

}  // namespace dodu::import
