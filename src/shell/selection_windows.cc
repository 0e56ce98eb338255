#include "shell/selection_windows.h"

#include <cstdio>

#include "core/codepage.h"
#include "core/picture.h"
#include "entry/edita.h"
#include "screen/dialog.h"
#include "screen/message_box.h"
#include "store/opener.h"

namespace dodu::shell {
namespace {

using core::Cp850;

constexpr int kRegisterArea = 9;
constexpr int kRegisterCopyArea = 29;
constexpr int kWarningsArea = 11;
constexpr int kWarningsCopyArea = 31;
constexpr int kStatusArea = 66;

std::string Right(int n, int width) {
  char b[16];
  std::snprintf(b, sizeof b, "%*d", width, n);
  return b;
}

std::string Pad(std::string s, size_t n) {
  s.resize(n, ' ');
  return s;
}

// The weekday endings of "Aniversário n" + ..., Sunday first.
const char* const kWeekdays[7] = {"o Domingo", "a Segunda", "a Terça  ", "a Quarta ",
                                  "a Quinta ", "a Sexta  ", "o Sábado "};

}  // namespace

AgeText DIZANOS(const core::Date& birth, int base_year, const core::Date& today) {
  AgeText out{"   ", "  ", ""};
  const core::Date last = *core::Date::FromYmd(base_year, 12, 31);
  if (birth.IsBlank() || birth > last) return out;
  out.years = Right(base_year - birth.year(), 3);
  out.months = Right(12 - birth.month(), 2);
  if (today.IsBlank() || birth.month() != today.month()) return out;
  int day = birth.day();
  // 29 February in a year without it is kept on the 28th.
  day = std::min(day, core::Date::DaysInMonth(today.year(), birth.month()));
  const core::Date birthday = *core::Date::FromYmd(today.year(), birth.month(), day);
  const int64_t ahead = birthday.DaysSince(today);
  if (ahead == 0) {
    out.notice = Cp850("Faz Aniversário Hoje  ");
  } else if (ahead == 1) {
    out.notice = Cp850("Faz Aniversário Amanha");
  } else if (ahead >= 2 && ahead <= 5) {
    out.notice = Cp850(std::string("Aniversário n") + kWeekdays[birthday.Weekday()]);
  }
  return out;
}

std::vector<std::string> DetailLines(const store::Record& reg, const AgeText& age) {
  auto f = [&](const char* field) {
    Result<std::string> t = reg.GetText(field);
    if (t.ok()) return *t;
    const store::FieldSlot* slot = reg.layout().Find(field);
    return std::string(slot != nullptr ? slot->spec.length : 0, ' ');
  };
  auto pic = [&](const char* field, const char* picture) {
    return core::Transform(f(field), picture);
  };
  std::string birth;
  if (Result<core::Date> d = reg.GetDate("NASCIMENTO"); d.ok()) birth = d->ToDmy();
  std::vector<std::string> l;
  l.push_back("CPF " + pic("CPF", "@r 999.999.999-99") + " DIRPF Senha " + f("SENACESSO") +
              Cp850(" Código ") + f("CODACESSO") + " Tem Rural " + f("TEMRURAL"));
  l.push_back("Nome" + f("NOMECONTR") + "Idade" + age.years + " anos" + age.months + " meses");
  l.push_back("Nascimento " + Pad(birth, 10) + " Tit.Eleitor " +
              pic("TITULO", "@r 99999999999-99") + " CPF do conjuge " +
              pic("CPFCONJU", "@r 999.999.999-99"));
  l.push_back("Brasil " + f("EBRASIL") + " Exterior " + f("EXTERIOR") + " Retificadora? " +
              f("RETIFICA") + Cp850(" Número do Recibo Anterior ") +
              pic("NRORECIBO", "@r 999999999999"));
  l.push_back(Cp850("Último recibo de 2020 ") + pic("RECIBOATU", "@r 999999999999") +
              Cp850("  Último recibo em 2019 ") + pic("RECIBOANT", "@r 999999999999"));
  l.push_back(Cp850("No caso de Devolução  Banco ") + pic("BANCO", "@r ###") + Cp850(" Agência ") +
              pic("AGENCIA", "@r !!!!!-!") + " Conta " + pic("CONTACO", "@r !!!!!!!!!!!!!-!!"));
  l.push_back("Tipo " + f("TIPOEND") + " Logradouro " + f("ENDERECO") + " Novo End. " +
              f("NOVOEND"));
  l.push_back(Cp850("Número ") + f("NUMERO") + " Complemento " + f("COMPLEM") + " Bairro " +
              f("BAIRRO"));
  l.push_back("CEP " + pic("CEP", "@r 99999-999") + " UF " + f("UF") + Cp850(" Município ") +
              f("MUNICIPIO") + Cp850(" Código ") + f("CODMUNI"));
  l.push_back(Cp850("País ") + f("CODPAIS") + " Embaixada " + f("CODEMB") + " DDD " +
              pic("DDDTEL", "@R #999") + " Telefone " + pic("TELEFO", "@R 99999-9999") + " FAX " +
              pic("NROFAX", "@R 99999-9999"));
  l.push_back(Cp850("Correio Eletrônico (Email) ") + f("EMAIL"));
  l.push_back(age.notice);
  for (std::string& s : l) {
    if (s.size() > 78) s.resize(78);
  }
  return l;
}

Status MOS_DETAL(SelectionContext& s, const std::string& cpf) {
  store::WorkArea* reg = s.areas.Get(kRegisterArea);
  if (reg == nullptr) return Status::Ok();
  const int order = reg->active_order();
  const store::RecNo was = reg->recno();
  const bool was_eof = reg->eof();
  auto restore = [&] {
    (void)reg->SetOrder(order);
    if (!was_eof) (void)reg->GoTo(was);
  };
  DODU_RETURN_IF_ERROR(reg->SetOrder(1));
  Result<bool> found = reg->Seek(cpf);
  if (!found.ok() || !*found) {
    restore();
    return found.ok() ? Status::Ok() : found.status();
  }
  Result<store::Record> r = reg->Current();
  restore();
  DODU_RETURN_IF_ERROR(r.status());
  core::Date birth;
  if (Result<core::Date> d = r->GetDate("NASCIMENTO"); d.ok()) birth = *d;
  const platform::CivilTime now = s.tk.clock().Now();
  const core::Date today = core::Date::FromYmd(now.year, now.month, now.day).value_or(core::Date());
  const AgeText age = DIZANOS(birth, s.base_year, today);
  const std::vector<std::string> lines = DetailLines(*r, age);

  screen::Toolkit& tk = s.tk;
  screen::LDialog* d = tk.LDLGSHOW(5, 0, 18, 79, kDetailsTitle);
  const screen::Attr normal = screen::ColourOr(tk.colours().COR_SAY, 0x70);
  tk.Fill(6, 1, 17, 78, ' ', normal);
  for (size_t i = 0; i < lines.size(); ++i) {
    const bool notice = i + 1 == lines.size();
    tk.Write(6 + static_cast<int>(i), 1, lines[i],
             notice ? screen::ColourOr(tk.colours().CORATEN, 0xC4) : normal);
  }
  try {
    (void)tk.WaitKey();
  } catch (...) {
    if (d != nullptr) d->close();
    throw;
  }
  if (d != nullptr) d->close();
  return Status::Ok();
}

Status MOS_PEND(SelectionContext& s) {
  store::WorkArea* reg = s.areas.Get(kRegisterArea);
  std::string cpf, name;
  if (reg != nullptr && !reg->eof()) {
    if (Result<store::Record> r = reg->Current(); r.ok()) {
      cpf = r->GetText("CPF").value_or("");
      name = r->GetTrimmed("NOMECONTR").value_or("");
    }
  }
  if (!store::OpenWorkCopy(s.ctx, s.areas, kWarningsArea, true).ok()) return Status::Ok();
  store::WorkArea* copy = s.areas.Get(kWarningsCopyArea);
  auto close_all = [&] {
    s.areas.Close(kWarningsCopyArea);
    s.areas.Close(kWarningsArea);
    s.areas.Select(kRegisterArea);
  };
  Status st = copy->table().Zap();
  if (!st.ok()) {
    close_all();
    return st;
  }
  if (!store::ABERTURA(s.ctx, s.areas, kWarningsArea).ok() ||
      s.areas.Get(kWarningsArea) == nullptr) {
    close_all();
    (void)screen::AVISOSN(s.tk, std::vector<std::string>{Cp850(kWarningsBusy)}, 8);
    return Status::Ok();
  }
  store::WorkArea& warnings = *s.areas.Get(kWarningsArea);
  int copied = 0;
  st = [&]() -> Status {
    if (cpf.find_first_not_of(' ') == std::string::npos) return Status::Ok();
    DODU_RETURN_IF_ERROR(warnings.SetOrder(1));
    DODU_ASSIGN_OR_RETURN(bool found, warnings.Seek(cpf));
    if (!found) return Status::Ok();
    while (!warnings.eof()) {
      DODU_ASSIGN_OR_RETURN(store::Record r, warnings.Current());
      if (r.GetText("CPF").value_or("") != cpf) break;
      if (!r.deleted()) {
        store::Record row(copy->table().shared_layout(), r.bytes());
        DODU_ASSIGN_OR_RETURN(store::RecNo n, copy->table().Append(row));
        copy->table().UnlockRecord(n);
        ++copied;
      }
      DODU_RETURN_IF_ERROR(warnings.Skip());
    }
    return Status::Ok();
  }();
  if (!st.ok()) {
    close_all();
    return st;
  }
  if (copied == 0) {
    close_all();
    (void)screen::AVISOSN(s.tk, std::vector<std::string>{Cp850(kNoWarnings1), Cp850(kNoWarnings2)},
                          0);
    return Status::Ok();
  }
  entry::EntryContext ec{s.tk, s.ctx, s.areas, s.entry_state};
  Result<entry::Profile> p = s.profiles.Build(ec, 11, 1);
  if (!p.ok()) {
    close_all();
    return p.status();
  }
  p->title = Cp850(kWarningsTitle) + core::Transform(cpf, "@R 999.999.999-99") + " " + name;
  (void)copy->SetOrder(1);
  (void)copy->Top();
  Result<screen::Key> k = screen::Key();
  try {
    k = entry::MOSTRA(ec, *p, p->rect, 1, kWarningsCopyArea);
  } catch (...) {
    close_all();
    throw;
  }
  close_all();
  return k.status();
}

Result<StatusAnswer> VE_STAT(SelectionContext& s, int code, int mode) {
  StatusAnswer a;
  a.code = code;
  a.description = std::string(13, ' ');
  const int selected = s.areas.current();
  if (s.areas.Get(kStatusArea) == nullptr) {
    Status opened = store::ABERTURA(s.ctx, s.areas, kStatusArea);
    if (!opened.ok() && !opened.IsNotFound()) return opened;
  }
  auto describe = [&](int wanted) -> Result<bool> {
    store::WorkArea* t = s.areas.Get(kStatusArea);
    if (t == nullptr) return false;
    for (Status st = t->Top(); !t->eof(); st = t->Skip()) {
      DODU_RETURN_IF_ERROR(st);
      DODU_ASSIGN_OR_RETURN(store::Record r, t->Current());
      Result<core::Decimal> c = r.GetNumber("COD");
      if (c.ok() && c->ToScaled(0) == wanted) {
        a.description = Pad(r.GetText("DESCRICAO").value_or(""), 13);
        return true;
      }
    }
    return false;
  };
  DODU_ASSIGN_OR_RETURN(a.found, describe(code));
  screen::Toolkit& tk = s.tk;
  const screen::Attr attr = static_cast<screen::Attr>(tk.colours().COR_TEL1);
  switch (mode) {
    case 1:
    case 5:
      if (!a.found && s.hooks.status_list) {
        if (std::optional<int> picked = s.hooks.status_list()) {
          a.code = *picked;
          DODU_ASSIGN_OR_RETURN(bool ok, describe(*picked));
          (void)ok;
        }
      }
      a.found = true;
      if (mode == 1) tk.Write(2, 14, a.description, attr);
      s.areas.Select(selected);
      break;
    case 2:
      s.areas.Select(kWarningsCopyArea);
      tk.Write(2, 14, a.description, attr);
      break;
    case 3:
      s.areas.Select(kRegisterArea);
      break;
    case 4:
      s.areas.Select(kRegisterCopyArea);
      break;
    default:
      s.areas.Select(selected);
      break;
  }
  return a;
}

}  // namespace dodu::shell
