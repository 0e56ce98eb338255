// The capital-gains section of a declaration without capital-gain statements.
#include "handover/internal/doc.h"

namespace dodu::handover::internal {
namespace {

void Zeros(Doc& d, std::initializer_list<const char*> names) {
  for (const char* n : names) d.Lit(n, "0,00");
}

constexpr char kNoCpf[] =
    " cpf=\"   .   .   -  \" dataFimPermanencia=\"  /  /    \" dataInicioPermanencia=\"  /  /    "
    "\"";

}  // namespace

void WriteEmptyGains(Doc& d) {
  d.Raw("<gcap><ids tipoItens=\"serpro.ppgd.irpf.gcap.IdDemonstrativoGCAP\"/>");
  for (const char* kind :
       {"bensImoveis tipoItens=\"serpro.ppgd.irpf.gcap.alienacao.AlienacaoBemImovel\"",
        "bensMoveis tipoItens=\"serpro.ppgd.irpf.gcap.alienacao.AlienacaoBemMovel\""}) {
    d.Raw("<");
    d.Raw(kind);
    Zeros(d, {"totalImpostoDevidoAnoAtual", "totalImpostoDiferidoAnosAnteriores",
              "totalImpostoDiferidoAnosPosteriores", "totalImpostoPagoBrasil",
              "totalImpostoPagoExterior", "totalImpostoReferenteAlienacaoAnoAtual",
              "totalImpostoTotal", "totalRendIsentosNaoTributaveisBrasil",
              "totalRendIsentosNaoTributaveisExterior", "totalRendSujeitosTributacaoBrasil",
              "totalRendSujeitosTributacaoExterior", "totalValorIRF"});
    d.Raw("/>");
  }
  d.Raw(
      "<pSocietarias "
      "tipoItens=\"serpro.ppgd.irpf.gcap.alienacao.AlienacaoParticipacaoSocietaria\"");
  Zeros(d, {"totalImpostoDevidoAnoAtual", "totalImpostoDiferidoAnosAnteriores",
            "totalImpostoDiferidoAnosPosteriores", "totalImpostoPago",
            "totalImpostoReferenteAlienacaoAnoAtual", "totalImpostoTotal",
            "totalRendIsentosNaoTributaveis", "totalRendSujeitosTributacao", "totalValorIRF"});
  d.Raw("/>");
  d.Raw("<especie aliquotaMedia=\"0,000000\"");
  d.Raw(kNoCpf);
  d.Raw(
      " ganhoCapitalTotal=\"0,00\" impostoDevido=\"0,00\" "
      "tipoItens=\"serpro.ppgd.irpf.gcap.especie.MoedaAlienada\"/>");
  d.Raw(" <consolidacoesBrasil tipoItens=\"serpro.ppgd.irpf.gcap.consolidacao.Consolidacao\"/>");
  d.Raw(" <consolidacoesExterior tipoItens=\"serpro.ppgd.irpf.gcap.consolidacao.Consolidacao\"/>");
  for (const char* name : {" <consolidacaoGeralBrasil", " <consolidacaoGeralExterior"}) {
    d.Raw(name);
    d.Raw(kNoCpf);
    Zeros(d, {"impostoDevidoAnoAtual", "impostoDiferidoAnosAnteriores",
              "impostoDiferidoAnosPosteriores", "impostoReferenteAlienacaoAnoAtual", "impostoTotal",
              "totalImpostoPago", "totalRendIsentosNaoTributaveis", "totalRendSujeitosTributacao",
              "valorIRF"});
    d.Raw("/>");
  }
  d.Raw(
      " <consolidacaoGeralEspecie ganhoCapitalTotal=\"0,00\" impostoDevido=\"0,00\""
      " tipoItens=\"serpro.ppgd.irpf.gcap.consolidacao.ConsolidacaoEspecie\"/></gcap>");
}

}  // namespace dodu::handover::internal
