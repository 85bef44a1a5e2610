#include "app/manualchapters.h"

#include <QHash>

namespace zf {

QString ManualChapterOf(const QString& windowClass, const QString& mainPage)
{
    const QString plans = QStringLiteral("Plany urlopowe");
    const QString others = QStringLiteral("Pozostałe części programu");
    static const QHash<QString, QString> chapters = {
        {QStringLiteral("zf::TfManageDB"), QStringLiteral("Okno „Konfiguracja bazy danych”")},
        {QStringLiteral("zf::TfLogin"), QStringLiteral("Okno logowania")},
        {QStringLiteral("zf::TinfoForm"), QStringLiteral("Okna komunikatów i pytań")},
        {QStringLiteral("zf::TquestionForm"), QStringLiteral("Okna komunikatów i pytań")},
        {QStringLiteral("zf::TpromptForm"), QStringLiteral("Okna komunikatów i pytań")},
        {QStringLiteral("zf::TFindDialog"), QStringLiteral("Szukanie w tabeli")},
        {QStringLiteral("zf::TfInstrukcja"), QStringLiteral("Instrukcja obsługi")},
        {QStringLiteral("zf::TfPoradaDnia"), QStringLiteral("Porada dnia")},
        {QStringLiteral("zf::TfAbout"), QStringLiteral("O programie")},
        {QStringLiteral("zf::TfFiszka"), QStringLiteral("Fiszka – notatki tymczasowe")},
        // The plan windows: the overview, the leave editor, the plan's settings and files.
        {QStringLiteral("zf::TfEmployeesPlans"), plans},
        {QStringLiteral("zf::TfEditCalendar"), plans},
        {QStringLiteral("zf::TfCalendar"), plans},
        {QStringLiteral("zf::TfNewPlan"), plans},
        {QStringLiteral("zf::TfPlanConfig"), plans},
        {QStringLiteral("zf::TfEditHolidayDays"), plans},
        {QStringLiteral("zf::TfBatchEdit"), plans},
        {QStringLiteral("zf::TfSelectDir"), plans},
        {QStringLiteral("zf::TPlanFilesWindow"), plans},
        {QStringLiteral("zf::TfPlaner"), kManualPlanerChapter},
        {QStringLiteral("zf::TfOpcjeProgramu"), others},
        {QStringLiteral("zf::TfOsobowa"), others},
        {QStringLiteral("zf::TfBiblioteka"), others},
        {QStringLiteral("zf::TfEditBibliotekaAll"), others},
        {QStringLiteral("zf::TfImportPracownik"), others},
        {QStringLiteral("zf::TfScheduler"), others},
        {QStringLiteral("zf::TfNotatki"), others},
        {QStringLiteral("zf::TfShowNotatka"), others},
        {QStringLiteral("zf::TfSprawdzenieDat"), others},
        {QStringLiteral("zf::TfWydruk"), others},
    };
    if (windowClass == QLatin1String("zf::TfMain")) {
        if (mainPage == QLatin1String("plans"))
            return plans;
        if (mainPage.isEmpty() || mainPage == QLatin1String("start"))
            return QStringLiteral("Okno główne");
        return others;
    }
    return chapters.value(windowClass);
}

} // namespace zf
