#pragma once

// Plans, employees and their days written straight into a test database, in one transaction
// on the module's own connection.
#include "data/fb/statement.h"
#include "data/fb/transaction.h"
#include "data/fb/transactionguard.h"
#include "data/mydatabase.h"

#include <QString>
#include <QVariant>

#include <memory>

namespace zf::test {

class PlanSeed
{
public:
    explicit PlanSeed(TmyDataBase& db)
        : m_tr(db.FBDataBase, fb::tpb::engineDefaults()), m_guard(m_tr), m_st(db.FBDataBase, &m_tr)
    {
    }
    void commit() { m_guard.commit(); }

    void plan(int year, int status = 4)
    {
        run(QStringLiteral("INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (:Y, :S, '')"),
            {year, status});
    }
    void employee(const QString& id, const QString& name, const QString& surname, int unit = -1)
    {
        run(QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, NAME, SURNAME, IDDICUNIT) VALUES "
                           "(:I, :N, :S, :U)"),
            {id, name, surname, unit});
    }
    void inPlan(int year, const QString& id, int lastYear, int thisYear)
    {
        run(QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, LASTYEARDAYS, "
                           "THISYEARDAYS) VALUES (:Y, :I, :L, :T)"),
            {year, id, lastYear, thisYear});
    }
    void freeDay(int year, int day)
    {
        run(QStringLiteral("INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (:Y, :D)"), {year, day});
    }
    void leave(int year, const QString& id, int day) { dayRow("EMPLOYEEHOLIDAYS", year, id, day); }
    void fixed(int year, const QString& id, int day) { dayRow("EMPLOYEECONSTDAYS", year, id, day); }

private:
    void dayRow(const char* table, int year, const QString& id, int day)
    {
        run(QStringLiteral("INSERT INTO %1 (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES (:Y, :I, :D)")
                .arg(QLatin1String(table)),
            {year, id, day});
    }
    void run(const QString& sql, const QVariantList& values)
    {
        if (m_st.sql() != sql)
            m_st.setSql(sql);
        const QStringList names = m_st.paramNames();
        for (int i = 0; i < names.size(); ++i)
            m_st.setParam(names[i], values.at(i));
        m_st.execute();
    }

    fb::Transaction m_tr;
    fb::TransactionGuard m_guard;
    fb::Statement m_st;
};

} // namespace zf::test
