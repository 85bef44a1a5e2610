#include "planer/sendtooffice.h"

#include <QDir>
#include <QFileInfo>

namespace zf {

TMapiSendMail sendToOfficeMessage(const QString& path, const PlanFileContent& plan)
{
    TMapiSendMail m;
    m.Subject = QStringLiteral("Plan urlopowy na rok %1 – %2 %3")
                    .arg(plan.year)
                    .arg(plan.name, plan.surname);
    m.Text = {QStringLiteral("Dzień dobry,"), QString(),
              QStringLiteral("w załączniku odsyłam wypełniony plan urlopowy na rok %1 (plik %2).")
                  .arg(plan.year)
                  .arg(QFileInfo(path).fileName()),
              QString(), QStringLiteral("%1 %2").arg(plan.name, plan.surname)};
    m.Attachments = {QFileInfo(path).absoluteFilePath()};
    return m;
}

QString noComposerMessage(const QString& path)
{
    return QStringLiteral("Nie udało się otworzyć programu pocztowego. Plan jest zapisany w "
                          "pliku:\n%1\nDołącz ten plik do wiadomości do działu kadr w swoim "
                          "programie pocztowym.")
        .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
}

} // namespace zf
