#include "data/databasecreation.h"

#include "util/exception.h"

namespace zf {

DatabaseCreator::DatabaseCreator()
    : Trans(DB, fb::tpb::engineDefaults()), sql(DB, &Trans)
{
}

QString DatabaseCreator::CreationScriptPath(const QString& programFolder)
{
    return programFolder + QStringLiteral("/data/fb_crtdemodb.dat");
}

std::optional<ScriptError> DatabaseCreator::create(const QString& location, const QString& user,
                                                   const QString& password,
                                                   const QStringList& scriptLines)
{
    int step = 1;
    try {
        if (DB.isAttached())
            DB.detach();
        step = 2;
        DB.create(location, user, password);
    } catch (const Exception& e) {
        return ScriptError{step, e.message()};
    }
    return runScriptLines(sql, Trans, scriptLines);
}

} // namespace zf
