#include "planfiles/planfileswindow.h"

#include "planfiles/employeechooser.h"

#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace zf {

TPlanFilesWindow::TPlanFilesWindow(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options,
                                   const QString& title, const QString& heading,
                                   const QString& chooserQuestion, QWidget* parent)
    : QDialog(parent), m_db(db), m_dialogs(dialogs), m_options(options),
      m_yearLabel(new QLabel(this)), m_chooser(new EmployeeChooser(db, chooserQuestion, this)),
      m_cancel(new QPushButton(QStringLiteral("&Anuluj"), this)), m_layout(new QVBoxLayout(this))
{
    setWindowTitle(title);
    setModal(true);
    auto* headingLabel = new QLabel(heading, this);
    headingLabel->setObjectName(QStringLiteral("lblNaglowek"));
    QFont headingFont = headingLabel->font();
    headingFont.setBold(true);
    headingLabel->setFont(headingFont);
    m_yearLabel->setObjectName(QStringLiteral("lblRok"));
    m_cancel->setObjectName(QStringLiteral("SBAnuluj"));
    m_cancel->setAutoDefault(false);

    m_layout->addWidget(headingLabel);
    m_layout->addWidget(m_yearLabel);
    m_layout->addWidget(m_chooser, 1);

    connect(m_chooser, &EmployeeChooser::filterChanged, this, [this] { Prepare(); });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

TPlanFilesWindow::~TPlanFilesWindow() = default;

bool TPlanFilesWindow::Execute(int year, int unitFilter)
{
    m_year = year;
    m_unit = unitFilter > 0 ? unitFilter : -1;
    m_success = false;
    exec();
    return m_success;
}

void TPlanFilesWindow::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        m_chooser->LoadUnits();
        m_chooser->setUnitFilter(m_unit);
        Prepare();
        m_chooser->list()->setFocus();
    }
    QDialog::showEvent(event);
}

void TPlanFilesWindow::Prepare()
{
    m_chooser->LoadEmployees(m_year);
    m_yearLabel->setText(QStringLiteral("Plan na rok ") + QString::number(m_year));
    m_success = false;
}

} // namespace zf
