// Fixture of the maintenance tests (upgrade, reindex, CPF change, SELIC
// register): the opener fixture plus builders of declaration tables and the
// comparison of an index file with a fresh build of the same key.
#ifndef DODU_TESTS_STORE_MAINTENANCE_TESTUTIL_H_
#define DODU_TESTS_STORE_MAINTENANCE_TESTUTIL_H_

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/env.h"
#include "store/catalogue.h"
#include "store/cdx_index.h"
#include "store/dbf_file.h"
#include "store/opener.h"
#include "store/opener_testutil.h"
#include "store/workarea_index.h"

namespace dodu::store::testing {

using Fields = std::map<std::string, std::string>;

// Appends one record to the table at `path` (text fields only; numbers are
// given as their text and parsed). `deleted` marks it deleted.
inline void AppendTo(platform::Env& env, const std::string& path, const Fields& fields,
                     bool deleted = false) {
  Result<std::unique_ptr<Table>> t = Table::Open(env, path, Sharing::kShared);
  ASSERT_TRUE(t.ok()) << t.status().ToString();
  Record r = (*t)->BlankRecord();
  for (const auto& [name, value] : fields) {
    const FieldSlot* s = r.layout().Find(name);
    ASSERT_NE(s, nullptr) << name;
    if (s->spec.type == FieldType::kNumeric) {
      ASSERT_TRUE(r.PutNumber(name, *core::Decimal::Parse(value)).ok()) << name;
    } else if (s->spec.type == FieldType::kDate) {
      ASSERT_TRUE(r.PutRaw(name, value).ok()) << name;
    } else {
      ASSERT_TRUE(r.PutText(name, value).ok()) << name;
    }
  }
  r.set_deleted(deleted);
  Result<RecNo> n = (*t)->Append(r);
  ASSERT_TRUE(n.ok()) << n.status().ToString();
  (*t)->UnlockRecord(*n);
}

// Every record of a table as (deleted flag, CPF) pairs and the whole bytes.
inline std::vector<std::string> RecordImages(platform::Env& env, const std::string& path) {
  std::vector<std::string> out;
  Result<std::unique_ptr<DbfFile>> f = DbfFile::Open(env, path, false);
  EXPECT_TRUE(f.ok()) << f.status().ToString();
  if (!f.ok()) return out;
  for (uint32_t n = 1; n <= (*f)->record_count(); ++n) {
    Result<std::string> img = (*f)->ReadRecord(RecNo{n});
    if (img.ok()) out.push_back(*img);
  }
  return out;
}

// The entries of an index file, or an empty list (and a failure) when it
// cannot be read.
inline std::vector<CdxEntry> IndexEntries(platform::Env& env, const std::string& path,
                                          const Layout& layout) {
  Result<CdxIndex> idx = CdxIndex::Open(env, path, layout);
  EXPECT_TRUE(idx.ok()) << path << ": " << idx.status().ToString();
  if (!idx.ok()) return {};
  EXPECT_TRUE(idx->Check().ok()) << path;
  Result<std::vector<CdxEntry>> all = idx->ReadAll();
  return all.ok() ? *all : std::vector<CdxEntry>{};
}

// The entries a fresh build of `expression` over the table at `path` gives.
inline std::vector<CdxEntry> FreshEntries(platform::Env& env, const std::string& path,
                                          const std::string& expression) {
  Result<std::unique_ptr<DbfFile>> f = DbfFile::Open(env, path, false);
  EXPECT_TRUE(f.ok()) << f.status().ToString();
  if (!f.ok()) return {};
  const std::string probe = path + ".fresh.cdx";
  Result<CdxIndex> b = BuildIndexFile(env, **f, probe, expression, {1, (*f)->record_count()});
  EXPECT_TRUE(b.ok()) << b.status().ToString();
  std::vector<CdxEntry> out;
  if (b.ok()) {
    Result<std::vector<CdxEntry>> all = b->ReadAll();
    if (all.ok()) out = *all;
  }
  (void)env.Remove(probe);
  return out;
}

// The index file at `index_path` holds exactly what a fresh build over the
// table gives, carries the key expression asked, and its stamp agrees with the
// table's.
inline void ExpectIndexFresh(platform::Env& env, const std::string& table_path,
                             const std::string& index_path, const std::string& expression) {
  Result<std::unique_ptr<DbfFile>> f = DbfFile::Open(env, table_path, false);
  ASSERT_TRUE(f.ok()) << f.status().ToString();
  Result<CdxIndex> idx = CdxIndex::Open(env, index_path, (*f)->layout().fields());
  ASSERT_TRUE(idx.ok()) << index_path << ": " << idx.status().ToString();
  EXPECT_EQ(idx->expr().text(), expression) << index_path;
  EXPECT_FALSE(idx->stamp().interrupted) << index_path;
  EXPECT_EQ(idx->stamp().generation, (*f)->generation()) << index_path;
  EXPECT_EQ(idx->stamp().record_count, (*f)->record_count()) << index_path;
  EXPECT_EQ(IndexEntries(env, index_path, (*f)->layout().fields()),
            FreshEntries(env, table_path, expression))
      << index_path;
}

}  // namespace dodu::store::testing

#endif  // DODU_TESTS_STORE_MAINTENANCE_TESTUTIL_H_
