#include "plans/editholidaydays.h"

#include "data/fb/dataset.h"
#include "data/formeditable.h"
#include "personnel/cp1250validator.h"
#include "plans/daysspinedit.h"
#include "util/dialogs.h"
#include "util/widgets.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <array>

namespace zf {

namespace {

struct FieldSpec
{
    const char* name;
    QString label;
    int minimum;
};

// In the order of the window, which is also the order of the figures in EntitlementData.
const std::array<FieldSpec, 7>& fieldSpecs()
{
    static const std::array<FieldSpec, 7> specs = {{
        {"fLASTYEARDAYS", QStringLiteral("I&lość zaległego urlopu"), kMinLastYearDays},
        {"fTHISYEARDAYS", QStringLiteral("Ilość urlopu &należnego"), 0},
        {"fNURSINGDAYS", QStringLiteral("&Opieka nad dzieckiem"), 0},
        {"fMATERNITYDAYS", QStringLiteral("&Macierzyńskie / urlop ojcowski"), 0},
        {"fUNPAIDDAYS", QStringLiteral("Urlop &bezpłatny"), 0},
        {"fSICKDAYS", QStringLiteral("&Pobyt w szpitalu / choroba"), 0},
        {"fOTHERDAYS", QStringLiteral("&Inne"), 0},
    }};
    return specs;
}

std::array<int*, 7> figures(EntitlementData& d)
{
    return {&d.lastYearDays, &d.thisYearDays,  &d.nursingDays, &d.maternityDays,
            &d.unpaidDays,   &d.sickDays,      &d.otherDays};
}

} // namespace

TfEditHolidayDays::TfEditHolidayDays(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs)
{
    build();
}

TfEditHolidayDays::~TfEditHolidayDays() = default;

void TfEditHolidayDays::build()
{
    setObjectName(QStringLiteral("TfEditHolidayDays"));
    setWindowTitle(QStringLiteral("Edytuj wymiar urlopu"));
    setModal(true);

    auto* title = new QLabel(QStringLiteral("Wymiar urlopu dla"), this);
    title->setObjectName(QStringLiteral("lbHeader"));
    m_employee = new QLabel(this);
    m_employee->setObjectName(QStringLiteral("lbEmployee"));
    QFont bold = m_employee->font();
    bold.setBold(true);
    m_employee->setFont(bold);

    auto* grid = new QGridLayout;
    const auto& specs = fieldSpecs();
    int row = 0;
    for (size_t i = 0; i < specs.size(); ++i) {
        if (i == 2) {
            auto* heading =
                new QLabel(QStringLiteral("Dodatkowe informacje dotyczące urlopu należnego:"), this);
            heading->setObjectName(QStringLiteral("lbAdditional"));
            grid->addWidget(heading, row++, 0, 1, 4);
        }
        auto* label = new QLabel(specs[i].label, this);
        auto* field = new TDaysSpinEdit(specs[i].minimum, kMaxDays, this);
        field->setObjectName(QString::fromLatin1(specs[i].name));
        field->installEventFilter(this);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        grid->addWidget(new QLabel(QStringLiteral("dni"), this), row, 2);
        if (i == 1)
            grid->addWidget(new QLabel(QStringLiteral("*) zawiera dodatkowe dni jak poniżej"), this),
                            row, 3);
        m_fields[i] = field;
        ++row;
    }
    auto* descrLabel = new QLabel(QStringLiteral("Inne: opi&s"), this);
    m_descr = new QLineEdit(this);
    m_descr->setObjectName(QStringLiteral("fOTHERDESCR"));
    m_descr->setMaxLength(kMaxDescrLength);
    m_descr->setMinimumWidth(320);
    refuseNonCp1250(m_descr);
    descrLabel->setBuddy(m_descr);
    grid->addWidget(descrLabel, row, 0);
    grid->addWidget(m_descr, row, 1, 1, 3);

    m_save = button(this, "SBZapisz", QStringLiteral("&Zapisz"), QStringLiteral("Zapisz zmiany"));
    m_cancel = button(this, "SBAnuluj", QStringLiteral("&Anuluj"), QStringLiteral("Anuluj zmiany"));
    connect(m_save, &QPushButton::clicked, this, &TfEditHolidayDays::save);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(title);
    top->addWidget(m_employee, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(top);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);
}

void TfEditHolidayDays::FillFromCurrentRow(const fb::DataSet& settings)
{
    const std::optional<EntitlementData> values = EntitlementData::fromCurrentRow(settings);
    const QString employee = QStringLiteral("EMPLOYEE");
    if (values)
        setValues(settings.hasField(employee) ? settings.asString(employee) : QString(), *values);
}

void TfEditHolidayDays::setValues(const QString& employeeText, const EntitlementData& values)
{
    m_employee->setText(employeeText);
    m_filled = values;
    const auto numbers = figures(m_filled);
    for (size_t i = 0; i < m_fields.size(); ++i)
        m_fields[i]->setDays(*numbers[i]);
    // The field would cut a longer stored text; it is shown whole.
    m_descr->setMaxLength(std::max<int>(kMaxDescrLength, static_cast<int>(values.otherDescr.size())));
    m_descr->setText(values.otherDescr);
}

EntitlementData TfEditHolidayDays::values() const
{
    EntitlementData d;
    const auto numbers = figures(d);
    for (size_t i = 0; i < m_fields.size(); ++i)
        *numbers[i] = m_fields[i]->value();
    d.otherDescr = m_descr->text();
    return d;
}

bool TfEditHolidayDays::Execute()
{
    m_saved = false;
    exec();
    return m_saved;
}

void TfEditHolidayDays::setViewOnly(bool viewOnly)
{
    m_viewOnly = viewOnly;
    SetFormEditable(this, !viewOnly);
}

void TfEditHolidayDays::showEvent(QShowEvent* event)
{
    m_saved = false;
    QDialog::showEvent(event);
    m_fields[0]->setFocus();
    m_fields[0]->selectAll();
}

bool TfEditHolidayDays::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (!m_viewOnly)
                save();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfEditHolidayDays::save()
{
    if (m_viewOnly)
        return;
    if (!EntitlementAcceptable(values(), m_filled)) {
        m_dialogs.information(kCaptionError, kInvalidEntitlement);
        return;
    }
    m_saved = true;
    accept();
}

} // namespace zf
