#include "data/scriptrunner.h"

#include "data/fb/statement.h"
#include "data/fb/transaction.h"
#include "cipher/cipher.h"
#include "util/exception.h"
#include "util/textcodec.h"

#include <QRegularExpression>

namespace zf {

std::optional<ScriptError> runScriptLines(fb::Statement& statement, fb::Transaction& transaction,
                                          const QStringList& lines)
{
    int step = 2;
    try {
        statement.setTransaction(&transaction);
        statement.setParamCheck(false);
        for (const QString& sql : scriptStatements(lines)) {
            step = 4;
            transaction.rollbackQuietly();
            step = 5;
            transaction.start();
            step = 6;
            statement.setSql(sql);
            statement.execute();
            statement.close();
            step = 7;
            transaction.commit();
            step = 9; // step 8, clearing the text, has nothing left to fail
        }
    } catch (const Exception& e) {
        statement.close();
        transaction.rollbackQuietly();
        statement.setParamCheck(true);
        return ScriptError{step, e.message()};
    }
    statement.setParamCheck(true);
    return std::nullopt;
}

QStringList scriptStatements(const QStringList& lines)
{
    QStringList statements;
    QString sql;
    for (const QString& line : lines) {
        if (!line.contains(QLatin1String("/*"))) {
            sql += line;
            sql += QLatin1Char('\n');
            continue;
        }
        statements << sql;
        sql.clear();
    }
    return statements;
}

QStringList decipherScript(const QByteArray& enciphered)
{
    const QString text = fromCp1250(DecryptString(enciphered, kScriptCipherKey));
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    return text.split(lineBreak);
}

} // namespace zf
