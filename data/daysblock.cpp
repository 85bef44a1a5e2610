#include "data/daysblock.h"

#include <QStringList>

namespace zf::daysblock {

QByteArray DaysText(const QList<int>& chosen, const QList<int>& unchangeable)
{
    QByteArray text;
    text.reserve((chosen.size() + unchangeable.size()) * 8 + 1);
    for (const int day : chosen)
        text += QByteArray::number(day).rightJustified(8, '0');
    text += '/';
    for (const int day : unchangeable)
        text += QByteArray::number(day).rightJustified(8, '0');
    return text;
}

// The variables are written ": NAME", apart, as PSQL allows: the data layer would take ":NAME"
// for a parameter of the block.
QString ReplaceDaysProcedure(const QString& daysType)
{
    return QStringLiteral(R"(
  DECLARE PROCEDURE ZF_REPLACE_DAYS (Y INTEGER, K VARCHAR(20), D %1)
  AS
    DECLARE I INTEGER = 1;
    DECLARE FIXED INTEGER;
    DECLARE N INTEGER;
  BEGIN
    DELETE FROM EMPLOYEEHOLIDAYS WHERE IDYEAR = : Y AND IDEMPLOYEE = : K;
    FIXED = POSITION('/' IN D);
    WHILE (I < FIXED) DO
    BEGIN
      INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY)
        VALUES (: Y, : K, CAST(SUBSTRING(: D FROM : I FOR 8) AS INTEGER));
      I = I + 8;
    END
    DELETE FROM EMPLOYEECONSTDAYS WHERE IDYEAR = : Y AND IDEMPLOYEE = : K;
    I = FIXED + 1;
    N = CHAR_LENGTH(D);
    WHILE (I <= N) DO
    BEGIN
      INSERT INTO EMPLOYEECONSTDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY)
        VALUES (: Y, : K, CAST(SUBSTRING(: D FROM : I FOR 8) AS INTEGER));
      I = I + 8;
    END
  END
)")
        .arg(daysType);
}

QString WithoutBlockLines(const QString& message)
{
    QStringList lines = message.split(QLatin1Char('\n'));
    lines.removeIf([](const QString& line) {
        return line.startsWith(QLatin1String("At sub procedure 'ZF_REPLACE_DAYS'")) ||
               line.startsWith(QLatin1String("At block line:"));
    });
    return lines.join(QLatin1Char('\n'));
}

} // namespace zf::daysblock
