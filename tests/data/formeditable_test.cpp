#include "data/formeditable.h"
#include "tests/support/qtest_main.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

class FormEditableTest : public QObject
{
    Q_OBJECT
private slots:
    void viewingAndEditingSwitchEveryKindOfControl()
    {
        QDialog form;
        auto* layout = new QVBoxLayout(&form);
        auto* line = new QLineEdit(&form);
        auto* masked = new QLineEdit(&form);
        masked->setEchoMode(QLineEdit::Password);
        auto* memo = new QPlainTextEdit(&form);
        auto* spin = new QSpinBox(&form);
        auto* combo = new QComboBox(&form);
        combo->setEditable(true);
        auto* check = new QCheckBox(QStringLiteral("Pracownik zwolniony"), &form);
        auto* date = new QDateEdit(&form);
        auto* save = new QPushButton(QStringLiteral("&Zapisz"), &form);
        auto* cancel = new QPushButton(QStringLiteral("&Anuluj"), &form);
        for (QWidget* w : std::initializer_list<QWidget*>{line, masked, memo, spin, combo, check, date, save, cancel})
            layout->addWidget(w);
        form.show();

        zf::SetFormEditable(&form, false);
        QVERIFY(line->isReadOnly() && masked->isReadOnly() && memo->isReadOnly() && spin->isReadOnly());
        QVERIFY(!combo->isEnabled() && !check->isEnabled() && !date->isEnabled());
        QVERIFY(!save->isVisible());
        QVERIFY(cancel->isVisible());
        QCOMPARE(cancel->text(), QStringLiteral("&OK"));
        QCOMPARE(cancel->toolTip(), QStringLiteral("Zamknij"));

        zf::SetFormEditable(&form, true);
        QVERIFY(!line->isReadOnly() && !masked->isReadOnly() && !memo->isReadOnly() && !spin->isReadOnly());
        QVERIFY(combo->isEnabled() && check->isEnabled() && date->isEnabled());
        QVERIFY(save->isVisible() && cancel->isVisible());
        QCOMPARE(cancel->text(), QStringLiteral("&Anuluj"));
        QCOMPARE(cancel->toolTip(), QStringLiteral("Anuluj zmiany"));
        // The pick list's own editor is left to the pick list.
        QVERIFY(!combo->lineEdit()->isReadOnly());
    }
};

ZF_QTEST_MAIN(FormEditableTest)
#include "formeditable_test.moc"
