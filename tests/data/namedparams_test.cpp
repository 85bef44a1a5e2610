#include "data/fb/namedparams.h"

#include <gtest/gtest.h>

namespace zf::fb {
namespace {

struct Case
{
    const char* sql;
    const char* positional;
    std::vector<const char*> names;
};

class NamedParams : public ::testing::TestWithParam<Case>
{
};

TEST_P(NamedParams, RewritesOutsideLiteralsAndComments)
{
    const Case& c = GetParam();
    const PositionalSql out = toPositional(QString::fromUtf8(c.sql));
    EXPECT_EQ(out.sql.toStdString(), c.positional);
    QStringList expected;
    for (const char* n : c.names)
        expected << QString::fromLatin1(n);
    EXPECT_EQ(out.names, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NamedParams,
    ::testing::Values(
        Case{"SELECT * FROM T WHERE A=:A AND B = :b", "SELECT * FROM T WHERE A=? AND B = ?",
             {"A", "B"}},
        // One name standing twice fills both places.
        Case{"UPDATE T SET X=:V WHERE Y=:V", "UPDATE T SET X=? WHERE Y=?", {"V", "V"}},
        Case{"SELECT ':NOT' FROM T WHERE A=:A", "SELECT ':NOT' FROM T WHERE A=?", {"A"}},
        // Dialect 1: double quotes are string literals too.
        Case{"SELECT IVALUE FROM P WHERE ID=\":X\" AND Z=:Z",
             "SELECT IVALUE FROM P WHERE ID=\":X\" AND Z=?", {"Z"}},
        Case{"SELECT 'it''s :no' , :YES FROM T", "SELECT 'it''s :no' , ? FROM T", {"YES"}},
        Case{"SELECT 1 -- :COMMENT\nFROM T WHERE A=:A", "SELECT 1 -- :COMMENT\nFROM T WHERE A=?",
             {"A"}},
        Case{"SELECT /* :C1 */ :P1 FROM T", "SELECT /* :C1 */ ? FROM T", {"P1"}},
        Case{"SELECT NEWKEY FROM GET_KEY(:GENTYPE);", "SELECT NEWKEY FROM GET_KEY(?);",
             {"GENTYPE"}},
        Case{"SELECT A FROM T WHERE K=:KEYIDEMPLOYEE_2", "SELECT A FROM T WHERE K=?",
             {"KEYIDEMPLOYEE_2"}},
        // An unterminated literal swallows the rest rather than inventing parameters.
        Case{"SELECT 'open :X", "SELECT 'open :X", {}},
        // A colon not followed by a name is no parameter.
        Case{"SELECT a : b, x:1 FROM T", "SELECT a : b, x:1 FROM T", {}}));

} // namespace
} // namespace zf::fb
