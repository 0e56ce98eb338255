#include "shell/darf_screen_dates.h"

namespace dodu::shell {

std::string QuotaDateLabel(int n) { return std::to_string(n) + "a quota"; }

DarfDates DarfDatesOf(const InstallationSettings& installation) {
  DarfDates d;
  for (size_t i = 0; i < d.due.size() && i < installation.adatvenc.size(); ++i) {
    d.due[i] = installation.adatvenc[i];
  }
  d.dollar = installation.nvaldolar;
  return d;
}

FieldValues DarfDateFields(const DarfDates& dates) {
  FieldValues f;
  for (size_t i = 0; i < dates.due.size(); ++i) {
    f.push_back(DateField("VCTO" + std::to_string(i + 1), dates.due[i]));
  }
  f.push_back(NumericField("VAL_DOLAR", dates.dollar));
  return f;
}

Status SaveDarfDates(SettingsTables& tables, InstallationSettings& installation,
                     const DarfDates& dates) {
  installation.adatvenc.assign(dates.due.begin(), dates.due.end());
  installation.nvaldolar = dates.dollar;
  installation.cvaldolar = dates.dollar.ToField(6, 4).value_or("******");
  return tables.WriteDefine(DarfDateFields(dates));
}

}  // namespace dodu::shell
