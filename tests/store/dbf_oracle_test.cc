// Compatibility with xBase tools nobody here wrote, as oracles: tables we write
// must read back identically with python's dbfread, and tables python-dbf writes
// (Clipper flavour) must read back identically with us. Skipped when
// /usr/bin/python3 or the module is missing.
#include <gtest/gtest.h>

#include <sstream>

#include "dbf_testutil.h"
#include "store/table.h"

namespace dodu::store {
namespace {

using testing::C;
using testing::D;
using testing::Dec;
using testing::L;
using testing::M;
using testing::N;

constexpr const char* kPython = "/usr/bin/python3";

class OracleTest : public ::testing::Test {
 protected:
  OracleTest() : env(platform::NewPosixEnv()) {}

  // Runs a python script with `args`; answers its standard output, or skips.
  std::string RunPython(const std::string& module, const std::string& script,
                        std::vector<std::string> args) {
    if (!env->Exists(kPython)) return Skip("no " + std::string(kPython));
    platform::SpawnOptions probe;
    probe.stdout_path = dir / "probe.out";
    probe.stderr_path = dir / "probe.err";
    auto p = env->Spawn({kPython, "-c", "import " + module}, probe);
    if (!p.ok() || p->exit_status != 0) return Skip("python module " + module + " missing");
    platform::SpawnOptions o;
    o.stdout_path = dir / "py.out";
    o.stderr_path = dir / "py.err";
    std::vector<std::string> argv{kPython, "-c", script};
    argv.insert(argv.end(), args.begin(), args.end());
    auto r = env->Spawn(argv, o);
    EXPECT_TRUE(r.ok()) << r.status().ToString();
    auto err = platform::ReadWholeFile(*env, dir / "py.err");
    EXPECT_TRUE(r.ok() && r->exit_status == 0) << (err.ok() ? *err : "");
    auto out = platform::ReadWholeFile(*env, dir / "py.out");
    return out.ok() ? *out : "";
  }
  std::string Skip(const std::string& why) {
    skipped = why;
    return "";
  }

  std::unique_ptr<platform::Env> env;
  dodu::testing::TempDir dir;
  std::string skipped;
};

std::string Hex(std::string_view s) {
  static const char* d = "0123456789abcdef";
  std::string out;
  for (unsigned char c : s) {
    out += d[c >> 4];
    out += d[c & 15];
  }
  return out;
}

// Each record as dbfread sees it: one line, fields by tabs; text as its cp850
// bytes in hex (trailing blanks stripped, as dbfread does), numbers with the
// field's decimals, dates yyyymmdd, logicals 1/0, "-" for empty values.
constexpr const char* kDbfreadDump = R"PY(
import sys, dbfread
t = dbfread.DBF(sys.argv[1], encoding='cp850', char_decode_errors='strict')
print(' '.join('%s:%s:%d:%d' % (f.name, f.type, f.length, f.decimal_count) for f in t.fields))
dec = {f.name: f.decimal_count for f in t.fields}
for rec in t:
    out = []
    for name, v in rec.items():
        if v is None: out.append('-')
        elif isinstance(v, bool): out.append('1' if v else '0')
        elif isinstance(v, str): out.append(v.encode('cp850').hex())
        elif isinstance(v, (int, float)): out.append('%.*f' % (dec[name], v))
        else: out.append(v.strftime('%Y%m%d'))
    print('\t'.join(out))
)PY";

std::string Expected(Table& t, const std::vector<std::string>& memos) {
  std::ostringstream os;
  const auto& slots = t.layout().slots();
  for (size_t i = 0; i < slots.size(); ++i) {
    const FieldSpec& f = slots[i].spec;
    os << (i ? " " : "") << f.name << ":" << static_cast<char>(f.type) << ":" << f.length << ":"
       << f.decimals;
  }
  os << "\n";
  for (uint32_t n = 1; n <= t.record_count(); ++n) {
    Record r = *t.Read(RecNo{n});
    for (size_t i = 0; i < slots.size(); ++i) {
      const FieldSpec& f = slots[i].spec;
      os << (i ? "\t" : "");
      switch (f.type) {
        case FieldType::kChar: os << Hex(*r.GetTrimmed(f.name)); break;
        case FieldType::kNumeric: os << r.GetNumber(f.name)->ToFixed(f.decimals); break;
        case FieldType::kDate: {
          core::Date d = *r.GetDate(f.name);
          os << (d.IsBlank() ? "-" : d.Dtos());
          break;
        }
        case FieldType::kLogical: os << (*r.GetLogical(f.name) ? "1" : "0"); break;
        case FieldType::kMemo: os << (memos[n - 1].empty() ? "-" : Hex(memos[n - 1])); break;
      }
    }
    os << "\n";
  }
  return os.str();
}

// Line by line, showing only where the first difference of a line lies.
void ExpectSameLines(const std::string& got, const std::string& want) {
  std::istringstream g(got), w(want);
  std::string gl, wl;
  for (int line = 1;; ++line) {
    bool more_g = static_cast<bool>(std::getline(g, gl)), more_w = static_cast<bool>(std::getline(w, wl));
    if (!more_g && !more_w) return;
    if (gl == wl) continue;
    size_t at = 0;
    while (at < gl.size() && at < wl.size() && gl[at] == wl[at]) ++at;
    size_t from = at > 20 ? at - 20 : 0;
    ADD_FAILURE() << "line " << line << " differs at " << at << ": python \""
                  << gl.substr(from, 60) << "\" vs ours \"" << wl.substr(from, 60) << "\"";
    return;
  }
}

TEST_F(OracleTest, TablesWeWriteReadBackWithDbfread) {
  struct Case {
    const char* what;
    Layout layout;
  };
  Layout small = testing::SmallLayout();
  small.push_back(M("TEXTO"));
  const Case cases[] = {{"small layout with C(512) and a memo", small},
                        {"209 fields", testing::WideLayout(209)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string path = dir / (std::string("T") + std::to_string(c.layout.size()) + ".DBF");
    auto t = Table::Create(*env, path, c.layout, Sharing::kExclusive);
    ASSERT_OK(t);
    std::vector<std::string> memos;
    for (int i = 1; i <= 5; ++i) {
      Record r = (*t)->BlankRecord();
      for (const FieldSlot& s : (*t)->layout().slots()) {
        const std::string& name = s.spec.name;
        switch (s.spec.type) {
          case FieldType::kChar:
            ASSERT_OK(r.PutText(name, std::string("A\xC7\x80\x90 ") + name + std::string(i * 60, 'z')));
            break;
          case FieldType::kNumeric:
            ASSERT_OK(r.PutNumber(name, s.spec.length > 8 ? core::Decimal::FromScaled(-98765 * i, 2)
                                                          : core::Decimal::FromInt(i)));
            break;
          case FieldType::kDate:
            ASSERT_OK(r.PutDate(name, i == 3 ? core::Date() : *core::Date::FromYmd(2019, i, 2 * i)));
            break;
          case FieldType::kLogical: ASSERT_OK(r.PutLogical(name, i % 2 == 0)); break;
          case FieldType::kMemo: {
            std::string text = i == 2 ? "" : "Ajuda do campo " + std::to_string(i) + "\r\n" +
                                                 std::string(600, 'm') + "\xC6";
            ASSERT_OK((*t)->PutMemo(r, name, text));
            memos.push_back(text);
            break;
          }
        }
      }
      ASSERT_OK((*t)->Append(r));
    }
    std::string got = RunPython("dbfread", kDbfreadDump, {path});
    if (!skipped.empty()) GTEST_SKIP() << skipped;
    ExpectSameLines(got, Expected(**t, memos));
  }
}

TEST_F(OracleTest, TablesWrittenByPythonDbfReadBackWithUs) {
  std::string path = dir / "PYDBF.DBF";
  const char* script = R"PY(
import sys, dbf, datetime
t = dbf.Table(sys.argv[1], 'CPF C(11); NOME C(40); VALOR N(12,2); QTD N(3,0); DATA D; ATIVO L; DESCR C(512)',
              dbf_type='clp', codepage='cp850')
t.open(dbf.READ_WRITE)
t.append(('12345678901', 'JOÃO DA CONCEIÇÃO', -1234.5, 7, datetime.date(2019, 12, 31), True, 'x' * 300 + 'fim'))
t.append(('00000000002', 'ÁÉÍ çã', 999999999.99, 0, None, False, ''))
t.append(('00000000003', 'apagado', 0.01, 999, datetime.date(2020, 2, 29), False, 'y' * 512))
dbf.delete(t[2])
t.close()
)PY";
  RunPython("dbf", script, {path});
  if (!skipped.empty()) GTEST_SKIP() << skipped;
  auto t = Table::Open(*env, path, Sharing::kShared, {.read_only = true});
  ASSERT_OK(t);
  EXPECT_EQ((*t)->layout().fields(),
            (Layout{C("CPF", 11), C("NOME", 40), N("VALOR", 12, 2), N("QTD", 3), D("DATA"), L("ATIVO"),
                    C("DESCR", 512)}));
  ASSERT_EQ((*t)->record_count(), 3u);
  Record a = *(*t)->Read(RecNo{1});
  EXPECT_EQ(*a.GetText("CPF"), "12345678901");
  EXPECT_EQ(*a.GetTrimmed("NOME"), "JO\xC7O DA CONCEI\x80\xC7O");
  EXPECT_EQ(*a.GetNumber("VALOR"), Dec("-1234.50"));
  EXPECT_EQ(*a.GetNumber("QTD"), Dec("7"));
  EXPECT_EQ(a.GetDate("DATA")->Dtos(), "20191231");
  EXPECT_TRUE(*a.GetLogical("ATIVO"));
  EXPECT_EQ(*a.GetTrimmed("DESCR"), std::string(300, 'x') + "fim");
  EXPECT_FALSE(a.deleted());
  Record b = *(*t)->Read(RecNo{2});
  EXPECT_EQ(*b.GetTrimmed("NOME"), "\xB5\x90\xD6 \x87\xC6");
  EXPECT_EQ(*b.GetNumber("VALOR"), Dec("999999999.99"));
  EXPECT_TRUE(b.GetDate("DATA")->IsBlank());
  EXPECT_FALSE(*b.GetLogical("ATIVO"));
  EXPECT_EQ(*b.GetTrimmed("DESCR"), "");
  Record c = *(*t)->Read(RecNo{3});
  EXPECT_TRUE(c.deleted());
  EXPECT_EQ(*c.GetNumber("VALOR"), Dec("0.01"));
  EXPECT_EQ(*c.GetNumber("QTD"), Dec("999"));
  EXPECT_EQ(c.GetDate("DATA")->Dtos(), "20200229");
  EXPECT_EQ(*c.GetText("DESCR"), std::string(512, 'y'));
}

}  // namespace
}  // namespace dodu::store
