#include "app/reportspage.h"

#include "data/fb/dataset.h"
#include "data/picklist.h"
#include "reports/dmraporty.h"
#include "scheduler/datefield.h"
#include "util/dates.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zf {

namespace {

QComboBox* combo(QWidget* parent, const QString& name)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setMinimumWidth(260);
    return box;
}

QWidget* withClearButton(QWidget* parent, QComboBox* box, const QString& caption,
                         const QString& name)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* clear = new QPushButton(caption, row);
    clear->setObjectName(name);
    QObject::connect(clear, &QPushButton::clicked, box, [box] { box->setCurrentIndex(-1); });
    layout->addWidget(box, 1);
    layout->addWidget(clear);
    return row;
}

// A row whose label leads to `buddy`, which sits in `field` (the buddy itself when null).
void addRow(QFormLayout* form, const QString& caption, QWidget* buddy, QWidget* field = nullptr)
{
    auto* label = new QLabel(caption, buddy->parentWidget());
    label->setBuddy(buddy);
    form->addRow(label, field ? field : buddy);
}

void addDateRow(QFormLayout* form, const QString& caption, TDateField* date)
{
    auto* label = new QLabel(caption, date->parentWidget());
    label->setBuddy(date->edit());
    date->setCaption(caption);
    form->addRow(label, date);
}

} // namespace

TReportsPage::TReportsPage(fb::DataSet& plans, fb::DataSet& units, fb::DataSet& employees,
                           QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("tsRaporty"));

    filtrPlanUrlopowy = combo(this, QStringLiteral("filtrPlanUrlopowy"));
    filtrMiesiac = combo(this, QStringLiteral("filtrMiesiac"));
    filtrMiesiac->addItems({QStringLiteral("(Cały rok)"), QStringLiteral("Styczeń"),
                            QStringLiteral("Luty"), QStringLiteral("Marzec"),
                            QStringLiteral("Kwiecień"), QStringLiteral("Maj"),
                            QStringLiteral("Czerwiec"), QStringLiteral("Lipiec"),
                            QStringLiteral("Sierpień"), QStringLiteral("Wrzesień"),
                            QStringLiteral("Październik"), QStringLiteral("Listopad"),
                            QStringLiteral("Grudzień")});
    filtrZespol = combo(this, QStringLiteral("filtrZespol"));
    filtrPracownik = combo(this, QStringLiteral("filtrPracownik"));
    filtrDlaPracownika = combo(this, QStringLiteral("filtrDlaPracownika"));
    filtrRodzajWniosku = combo(this, QStringLiteral("filtrRodzajWniosku"));
    filtrRodzajWniosku->addItems({QStringLiteral("Urlopu wypoczynkowego"),
                                  QStringLiteral("Urlopu bezpłatngo"),
                                  QStringLiteral("Urlopu okolicznościowego"),
                                  QStringLiteral("Opieki nad dzieckiem")});
    m_printDate = dateField(QStringLiteral("dataWydruku"), QStringLiteral("DTPDataWydruku"));
    m_from = dateField(QStringLiteral("filtrUrlopOd"), QStringLiteral("DTPUrlopOd"));
    m_to = dateField(QStringLiteral("filtrUrlopDo"), QStringLiteral("DTPUrlopDo"));
    dataWydruku = m_printDate->edit();
    filtrUrlopOd = m_from->edit();
    filtrUrlopDo = m_to->edit();
    DTPDataWydruku = m_printDate->picker();
    DTPUrlopOd = m_from->picker();
    DTPUrlopDo = m_to->picker();
    filtrIleDni = new QLineEdit(this);
    filtrIleDni->setObjectName(QStringLiteral("filtrIleDni"));
    filtrIleDni->setMaxLength(18);

    auto button = [this](const QString& caption, const QString& name) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setMinimumHeight(30);
        return b;
    };
    SBGrafikMiesiac = button(QStringLiteral(" &Grafik urlopów na wskazany miesiąc"),
                             QStringLiteral("SBGrafikMiesiac"));
    SBGrafikRok =
        button(QStringLiteral(" Gra&fik urlopów na wskazany rok"), QStringLiteral("SBGrafikRok"));
    SBZestawienie =
        button(QStringLiteral(" Zes&tawienie dni urlopów"), QStringLiteral("SBZestawienie"));
    SBWniosek = button(QStringLiteral("Wnio&sek urlopowy"), QStringLiteral("SBWniosek"));
    SBOswiadczenie =
        button(QStringLiteral("Oświadcz&enie opiekuna dziecka"), QStringLiteral("SBOswiadczenie"));

    auto* planGroup = new QGroupBox(QStringLiteral(" Wydruki dot. grafiku urlopowego:"), this);
    auto* planForm = new QFormLayout;
    addRow(planForm, QStringLiteral("Wy&bierz plan urlopowy:"), filtrPlanUrlopowy);
    addRow(planForm, QStringLiteral("Wybierz &miesiąc:"), filtrMiesiac);
    addRow(planForm, QStringLiteral("Pracownicy z &zespołu:"), filtrZespol,
           withClearButton(this, filtrZespol, QStringLiteral("Nie wskazuj żadnego zespołu"),
                           QStringLiteral("SBBezZespolu")));
    addRow(planForm, QStringLiteral("Dl&a pracownika:"), filtrPracownik,
           withClearButton(this, filtrPracownik, QStringLiteral("Nie wskazuj żadnego pracownika"),
                           QStringLiteral("SBBezPracownika")));
    auto* planButtons = new QHBoxLayout;
    planButtons->addWidget(SBGrafikMiesiac);
    planButtons->addWidget(SBGrafikRok);
    planButtons->addWidget(SBZestawienie);
    auto* planLayout = new QVBoxLayout(planGroup);
    planLayout->addLayout(planForm);
    planLayout->addLayout(planButtons);

    auto* formsGroup = new QGroupBox(QStringLiteral(" Wnioski, oświadczenia:"), this);
    auto* formsForm = new QFormLayout;
    addRow(formsForm, QStringLiteral("Dla pracowni&ka:"), filtrDlaPracownika,
           withClearButton(this, filtrDlaPracownika,
                           QStringLiteral("Nie wskazuj żadnego pracownika"),
                           QStringLiteral("SBBezPracownikaWniosek")));
    addDateRow(formsForm, QStringLiteral("&Data wydruku:"), m_printDate);
    addRow(formsForm, QStringLiteral("o &udzielenie:"), filtrRodzajWniosku);
    addDateRow(formsForm, QStringLiteral("U&rlop od:"), m_from);
    addDateRow(formsForm, QStringLiteral("Ur&lop do:"), m_to);
    addRow(formsForm, QStringLiteral("&ile dni:"), filtrIleDni);
    auto* formButtons = new QHBoxLayout;
    formButtons->addWidget(SBWniosek);
    formButtons->addWidget(SBOswiadczenie);
    formButtons->addStretch();
    auto* note = new QPlainTextEdit(this);
    note->setObjectName(QStringLiteral("memoUrlopy"));
    note->setAccessibleName(QStringLiteral("Wymiar urlopu okolicznościowego i opieki nad dzieckiem"));
    note->setReadOnly(true);
    note->setPlainText(QStringLiteral(
        " WYMIAR URLOPU OKOLICZNOŚCIOWEGO:\n"
        "       2 dni: ślub, urodzenie dziecka, zgon małżonka, dziecka, ojca, matki, ojczyma, "
        "macochy\n"
        "       1 dzień: ślub dziecka, zgon siostry, brata, teściowej, teścia, babki, dziadka\n"
        " OPIEKA NAD DZIECKIEM: 2 dni"));
    note->setMaximumHeight(90);
    auto* formsLayout = new QVBoxLayout(formsGroup);
    formsLayout->addLayout(formsForm);
    formsLayout->addLayout(formButtons);
    formsLayout->addWidget(note);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(planGroup);
    layout->addWidget(formsGroup);
    layout->addStretch();

    connect(&plans, &fb::DataSet::changed, this, [this, &plans] {
        fillFromList(filtrPlanUrlopowy, plans, QStringLiteral("IDYEAR"), QStringLiteral("IDYEAR"));
    });
    connect(&units, &fb::DataSet::changed, this, [this, &units] {
        fillFromList(filtrZespol, units, QStringLiteral("IDDICTIONARY"),
                     QStringLiteral("DESCRIPTION"));
    });
    connect(&employees, &fb::DataSet::changed, this, [this, &employees] {
        fillFromList(filtrPracownik, employees, QStringLiteral("IDEMPLOYEE"),
                     QStringLiteral("NAME_O"));
        fillFromList(filtrDlaPracownika, employees, QStringLiteral("IDEMPLOYEE"),
                     QStringLiteral("NAME_O"));
    });
}

TDateField* TReportsPage::dateField(const QString& name, const QString& pickerName)
{
    return new TDateField(name, pickerName, this);
}

void TReportsPage::fillFromList(QComboBox* box, fb::DataSet& list, const QString& keyField,
                                const QString& textField)
{
    // Keep the chosen key across a refill.
    const QVariant chosen = box->currentData();
    FillPickList(box, list, keyField, textField);
    box->setCurrentIndex(chosen.isValid() ? box->findData(chosen) : -1);
}

void TReportsPage::resetFilters(const QDate& today)
{
    filtrMiesiac->setCurrentIndex(0);
    filtrPlanUrlopowy->setCurrentIndex(-1);
    filtrPracownik->setCurrentIndex(-1);
    filtrZespol->setCurrentIndex(-1);
    filtrDlaPracownika->setCurrentIndex(-1);
    filtrRodzajWniosku->setCurrentIndex(0);
    const QString text = today.toString(dateTextFormat());
    for (TDateField* date : {m_printDate, m_from, m_to}) {
        date->setText(text);
        date->showTextInPicker();
    }
}

int TReportsPage::planYear() const
{
    return filtrPlanUrlopowy->currentIndex() < 0 ? 0 : filtrPlanUrlopowy->currentData().toInt();
}

int TReportsPage::unit() const
{
    return filtrZespol->currentIndex() < 0 ? 0 : filtrZespol->currentData().toInt();
}

QString TReportsPage::employee() const
{
    return filtrPracownik->currentIndex() < 0 ? QString() : filtrPracownik->currentData().toString();
}

QString TReportsPage::formEmployee() const
{
    return filtrDlaPracownika->currentIndex() < 0 ? QString()
                                                  : filtrDlaPracownika->currentData().toString();
}

std::map<QString, std::function<void()>> TReportsPage::ReportCommands(TDMRaporty& dm)
{
    const auto filters = [this] {
        PlanReportFilters f;
        f.year = planYear();
        f.month = std::max(0, filtrMiesiac->currentIndex());
        f.monthName = filtrMiesiac->currentText();
        f.unit = unit();
        f.unitName = filtrZespol->currentText();
        f.employee = employee();
        return f;
    };
    std::map<QString, std::function<void()>> commands;
    commands[QStringLiteral("SBGrafikMiesiac")] = [&dm, filters] { dm.GrafikMiesiac(filters()); };
    commands[QStringLiteral("SBGrafikRok")] = [&dm, filters] { dm.GrafikRok(filters()); };
    commands[QStringLiteral("SBZestawienie")] = [&dm, filters] { dm.Zestawienie(filters()); };
    commands[QStringLiteral("SBWniosek")] = [this, &dm] {
        FormTexts t;
        t.employee = filtrDlaPracownika->currentText();
        t.printDate = m_printDate->text();
        t.kind = filtrRodzajWniosku->currentText();
        t.from = m_from->text();
        t.to = m_to->text();
        t.days = filtrIleDni->text();
        switch (dm.WniosekUrlopowy(t)) {
        case TDMRaporty::FormField::PrintDate:
            dataWydruku->setFocus(Qt::OtherFocusReason);
            break;
        case TDMRaporty::FormField::From:
            filtrUrlopOd->setFocus(Qt::OtherFocusReason);
            break;
        case TDMRaporty::FormField::To:
            filtrUrlopDo->setFocus(Qt::OtherFocusReason);
            break;
        case TDMRaporty::FormField::None:
            break;
        }
    };
    commands[QStringLiteral("SBOswiadczenie")] = [this, &dm] {
        const QString printDate = m_printDate->text();
        if (!dm.OswiadczenieOpiekuna(filtrDlaPracownika->currentText(), printDate) &&
            !TDMRaporty::IsAcceptedPrintDate(printDate))
            dataWydruku->setFocus(Qt::OtherFocusReason);
    };
    return commands;
}

} // namespace zf
