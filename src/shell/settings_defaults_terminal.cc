#include "shell/settings_defaults_terminal.h"

namespace dodu::shell {

TerminalSettings ReadTerminalSettings(const FieldValues& r, std::string_view terminal) {
  TerminalSettings s;
  s.terminal = std::string(terminal);
  s.rotaanter = CharOf(r, "ROTAANTER");
  s.rotadoano = CharOf(r, "ROTADOANO");
  s.rotarecei = CharOf(r, "ROTARECEI");
  s.rotajava = CharOf(r, "ROTAJAVA");
  s.rotaback = CharOf(r, "ROTABACK");
  s.dirtrab = CharOf(r, "DIRTRAB");
  s.dirprov = CharOf(r, "DIRPROV");
  s.locirpf = LocIrpf(s.rotajava);

  PrintSelection& p = s.print;
  p.queimp = static_cast<int>(IntOf(r, "QUEIMP", p.queimp));
  p.quemod = static_cast<int>(IntOf(r, "QUEMOD", p.quemod));
  p.quepag = static_cast<int>(IntOf(r, "QUEPAG", p.quepag));
  p.quecon = static_cast<int>(IntOf(r, "QUECON", p.quecon));
  p.compaga = static_cast<int>(IntOf(r, "COMPAGA", p.compaga));
  p.impbem = CharOf(r, "IMPBEM", p.impbem);
  p.impbal = CharOf(r, "IMPBAL", p.impbal);
  p.mosimp = CharOf(r, "MOSIMP", p.mosimp);
  p.mostel = CharOf(r, "MOSTEL", p.mostel);
  p.moscpf = CharOf(r, "MOSCPF", p.moscpf);
  p.maresq = static_cast<int>(IntOf(r, "MARESQ", p.maresq));
  p.inifol = static_cast<int>(IntOf(r, "INIFOL", p.inifol));
  p.lineti = static_cast<int>(IntOf(r, "LINETI", p.lineti));
  p.nro_lin = static_cast<int>(IntOf(r, "NRO_LIN", p.nro_lin));
  MontaItens(p);  // a stored index outside its list is brought back into it

  s.env_stat = static_cast<int>(IntOf(r, "ENV_STAT", s.env_stat));
  s.opc_tran = static_cast<int>(IntOf(r, "OPC_TRAN", s.opc_tran));
  s.soeste = static_cast<int>(IntOf(r, "SOESTE", s.soeste));
  s.opttran = static_cast<int>(IntOf(r, "OPTTRAN", s.opttran));
  s.opcfim = static_cast<int>(IntOf(r, "OPCFIM", s.opcfim));
  s.ult_cpf = CharOf(r, "ULT_CPF");
  s.xdrive = CharOf(r, "XDRIVE", s.xdrive);
  s.opcirpf = CharOf(r, "OPCIRPF", s.opcirpf);
  s.nomeag = OperatorName(CharOf(r, "NOMEAG"), terminal);
  s.ultback = DateOf(r, "ULTBACK");
  return s;
}

FieldValues ExitFields(const TerminalSettings& s) {
  return {
      CharField("NOMEAG", s.nomeag),
      CharField("ROTADOANO", s.rotadoano),
      CharField("ROTARECEI", s.rotarecei),
      CharField("ROTAJAVA", s.rotajava),
      CharField("ULT_CPF", s.ult_cpf),
      CharField("DIRTRAB", s.dirtrab),
      NumericField("OPTTRAN", s.opttran),
      NumericField("SOESTE", s.soeste),
      DateField("ULTBACK", s.ultback),
      CharField("OPCIRPF", s.opcirpf),
      NumericField("ENV_STAT", s.env_stat),
      NumericField("MARESQ", s.print.maresq),
      NumericField("INIFOL", s.print.inifol),
      NumericField("LINETI", s.print.lineti),
      NumericField("NRO_LIN", s.print.nro_lin),
      NumericField("OPC_TRAN", s.opc_tran),
      CharField("XDRIVE", s.xdrive),
  };
}

}  // namespace dodu::shell
