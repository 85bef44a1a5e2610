#include "app/reportspage.h"

#include "data/fb/dataset.h"
#include "reports/dmraporty.h"
#include "util/dates.h"

#include <QComboBox>
#include <QDateEdit>
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
    dataWydruku = dateField(QStringLiteral("dataWydruku"));
    filtrUrlopOd = dateField(QStringLiteral("filtrUrlopOd"));
    filtrUrlopDo = dateField(QStringLiteral("filtrUrlopDo"));
    filtrIleDni = new QLineEdit(this);
    filtrIleDni->setObjectName(QStringLiteral("filtrIleDni"));
    filtrIleDni->setMaxLength(18);
    DTPDataWydruku = picker(QStringLiteral("DTPDataWydruku"), dataWydruku);
    DTPUrlopOd = picker(QStringLiteral("DTPUrlopOd"), filtrUrlopOd);
    DTPUrlopDo = picker(QStringLiteral("DTPUrlopDo"), filtrUrlopDo);

    auto button = [this](const QString& caption, const QString& name) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setMinimumHeight(30);
        return b;
    };
    SBGrafikMiesiac = button(QStringLiteral(" Grafik urlopów na wskazany miesiąc"),
                             QStringLiteral("SBGrafikMiesiac"));
    SBGrafikRok = button(QStringLiteral(" Grafik urlopów na wskazany rok"),
                         QStringLiteral("SBGrafikRok"));
    SBZestawienie =
        button(QStringLiteral(" Zestawienie dni urlopów"), QStringLiteral("SBZestawienie"));
    SBWniosek = button(QStringLiteral("Wniosek urlopowy"), QStringLiteral("SBWniosek"));
    SBOswiadczenie =
        button(QStringLiteral("Oświadczenie opiekuna dziecka"), QStringLiteral("SBOswiadczenie"));

    auto* planGroup = new QGroupBox(QStringLiteral(" Wydruki dot. grafiku urlopowego:"), this);
    auto* planForm = new QFormLayout;
    planForm->addRow(QStringLiteral("Wybierz plan urlopowy:"), filtrPlanUrlopowy);
    planForm->addRow(QStringLiteral("Wybierz miesiąc:"), filtrMiesiac);
    planForm->addRow(QStringLiteral("Pracownicy z zespołu:"),
                     withClearButton(this, filtrZespol, QStringLiteral("Nie wskazuj żadnego zespołu"),
                                     QStringLiteral("SBBezZespolu")));
    planForm->addRow(QStringLiteral("Dla pracownika:"),
                     withClearButton(this, filtrPracownik,
                                     QStringLiteral("Nie wskazuj żadnego pracownika"),
                                     QStringLiteral("SBBezPracownika")));
    auto* planButtons = new QHBoxLayout;
    planButtons->addWidget(SBGrafikMiesiac);
    planButtons->addWidget(SBGrafikRok);
    planButtons->addWidget(SBZestawienie);
    auto* planLayout = new QVBoxLayout(planGroup);
    planLayout->addLayout(planForm);
    planLayout->addLayout(planButtons);

    auto dateRow = [this](QLineEdit* field, QDateEdit* dtp) {
        auto* row = new QWidget(this);
        auto* l = new QHBoxLayout(row);
        l->setContentsMargins(0, 0, 0, 0);
        l->addWidget(field);
        l->addWidget(dtp);
        l->addStretch();
        return row;
    };
    auto* formsGroup = new QGroupBox(QStringLiteral(" Wnioski, oświadczenia:"), this);
    auto* formsForm = new QFormLayout;
    formsForm->addRow(QStringLiteral("Dla pracownika:"),
                      withClearButton(this, filtrDlaPracownika,
                                      QStringLiteral("Nie wskazuj żadnego pracownika"),
                                      QStringLiteral("SBBezPracownikaWniosek")));
    formsForm->addRow(QStringLiteral("Data wydruku:"), dateRow(dataWydruku, DTPDataWydruku));
    formsForm->addRow(QStringLiteral("o udzielenie:"), filtrRodzajWniosku);
    formsForm->addRow(QStringLiteral("Urlop od:"), dateRow(filtrUrlopOd, DTPUrlopOd));
    formsForm->addRow(QStringLiteral("Urlop do:"), dateRow(filtrUrlopDo, DTPUrlopDo));
    formsForm->addRow(QStringLiteral("ile dni:"), filtrIleDni);
    auto* formButtons = new QHBoxLayout;
    formButtons->addWidget(SBWniosek);
    formButtons->addWidget(SBOswiadczenie);
    formButtons->addStretch();
    auto* note = new QPlainTextEdit(this);
    note->setObjectName(QStringLiteral("memoUrlopy"));
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

QLineEdit* TReportsPage::dateField(const QString& name)
{
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    field->setMaxLength(10);
    field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("00-00-00000")) + 12);
    return field;
}

QDateEdit* TReportsPage::picker(const QString& name, QLineEdit* field)
{
    auto* dtp = new QDateEdit(this);
    dtp->setObjectName(name);
    dtp->setCalendarPopup(true);
    dtp->setDisplayFormat(dateTextFormat());
    connect(dtp, &QDateEdit::dateChanged, field,
            [field](const QDate& d) { field->setText(d.toString(dateTextFormat())); });
    return dtp;
}

void TReportsPage::fillFromList(QComboBox* box, fb::DataSet& list, const QString& keyField,
                                const QString& textField)
{
    // Keep the chosen key across a refill.
    const QVariant chosen = box->currentData();
    box->clear();
    const int key = list.fieldIndex(keyField);
    const int text = list.fieldIndex(textField);
    if (key < 0 || text < 0)
        return;
    for (int r = 0; r < list.recordCount(); ++r)
        box->addItem(list.valueAt(r, text).toString(), list.valueAt(r, key));
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
    for (QDateEdit* dtp : {DTPDataWydruku, DTPUrlopOd, DTPUrlopDo}) {
        dtp->setDisplayFormat(dateTextFormat());
        dtp->setDate(today);
    }
    const QString text = today.toString(dateTextFormat());
    for (QLineEdit* field : {dataWydruku, filtrUrlopOd, filtrUrlopDo})
        field->setText(text);
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
        t.printDate = dataWydruku->text();
        t.kind = filtrRodzajWniosku->currentText();
        t.from = filtrUrlopOd->text();
        t.to = filtrUrlopDo->text();
        t.days = filtrIleDni->text();
        switch (dm.WniosekUrlopowy(t)) {
        case TDMRaporty::FormField::From:
            filtrUrlopOd->setFocus();
            break;
        case TDMRaporty::FormField::To:
            filtrUrlopDo->setFocus();
            break;
        case TDMRaporty::FormField::None:
            break;
        }
    };
    commands[QStringLiteral("SBOswiadczenie")] = [this, &dm] {
        dm.OswiadczenieOpiekuna(filtrDlaPracownika->currentText(), dataWydruku->text());
    };
    return commands;
}

} // namespace zf
