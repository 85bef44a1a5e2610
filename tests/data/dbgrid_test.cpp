#include "data/dbgrid.h"

#include "data/fb/connection.h"
#include "data/fb/dataset.h"
#include "data/fb/transaction.h"
#include "tests/support/qtest_main.h"
#include "util/gridstorage.h"

#include <QBrush>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <memory>

using namespace zf;

namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// Rows "ID, NAME, ACT" for the list: ID i, "Osoba i", every third one inactive.
std::vector<std::vector<QVariant>> people(int count)
{
    std::vector<std::vector<QVariant>> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back({i, QStringLiteral("Osoba %1").arg(i, 2, 10, QLatin1Char('0')),
                        i % 3 == 0 ? QStringLiteral("N") : QStringLiteral("T")});
    return rows;
}

const QStringList kFields{QStringLiteral("ID"), QStringLiteral("NAME"), QStringLiteral("ACT")};

// Presses a title, drags it over another one and lets go, as a user would.
void dragTitle(QHeaderView* header, int from, int to)
{
    const int y = header->height() / 2;
    const QPoint start(header->sectionViewportPosition(from) + header->sectionSize(from) / 2, y);
    const QPoint end(header->sectionViewportPosition(to) + header->sectionSize(to) / 2, y);
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, start);
    for (int step = 1; step <= 10; ++step)
        QTest::mouseMove(header->viewport(), start + (end - start) * step / 10);
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, end);
}

} // namespace

class TestDBGrid : public QObject
{
    Q_OBJECT

private:
    QAbstractItemModel* model() const { return grid->model(); }
    int gridRow() const { return grid->currentIndex().row(); }
    QPoint cellCentre(int row) const
    {
        return grid->visualRect(grid->model()->index(row, 1)).center();
    }
    // A wheel turn at a place given in the coordinates of the grid's cell area.
    void wheel(QPointF at, QPoint angle)
    {
        QWheelEvent event(at, grid->viewport()->mapToGlobal(at), QPoint(), angle, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid->viewport(), &event);
    }
    QColor titleColour(int column) const
    {
        return grid->model()
            ->headerData(column, Qt::Horizontal, Qt::ForegroundRole)
            .value<QBrush>()
            .color();
    }

    std::unique_ptr<fb::Connection> connection;
    std::unique_ptr<fb::Transaction> transaction;
    std::unique_ptr<fb::DataSet> list;
    std::unique_ptr<TDBGrid> grid;

private slots:
    void init()
    {
        // A list filled in memory never touches the unattached connection.
        connection = std::make_unique<fb::Connection>();
        transaction =
            std::make_unique<fb::Transaction>(*connection, fb::tpb::readOnlyReadCommitted());
        list = std::make_unique<fb::DataSet>(*connection, *transaction, u("DBFEmployees"));
        list->setRows(kFields, people(20));
        grid = std::make_unique<TDBGrid>(
            list.get(), std::vector<TDBGridColumn>{{u("NAME"), u("Imię i nazwisko"), 150},
                                                   {u("ACT"), u("Zw?"), 40},
                                                   {u("ID"), u("Nr ewid."), 70}});
        grid->setObjectName(u("osobowaGrid"));
        grid->resize(400, 200);
        grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    }

    void cleanup()
    {
        grid.reset();
        list.reset();
        transaction.reset();
        connection.reset();
    }

    void showsTheListsCurrentRowFromTheStart()
    {
        QCOMPARE(gridRow(), 0);
        QCOMPARE(grid->model()->data(grid->model()->index(4, 0)).toString(), u("Osoba 04"));
        QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), u("Imię i nazwisko"));
        QCOMPARE(grid->columnWidth(0), 150);
        QCOMPARE(grid->columnWidth(2), 70);
    }

    void wheelMovesTheListOneRowPerNotch_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("angle");
        QTest::addColumn<int>("expected");
        QTest::newRow("one notch towards the user") << 5 << -120 << 6;
        QTest::newRow("one notch away from the user") << 5 << 120 << 4;
        QTest::newRow("three notches at once") << 5 << -360 << 8;
        QTest::newRow("less than a notch") << 5 << -60 << 5;
        QTest::newRow("up at the first row") << 0 << 120 << 0;
        QTest::newRow("down at the last row") << 19 << -120 << 19;
        QTest::newRow("past the end") << 17 << -600 << 19;
        QTest::newRow("past the start") << 2 << 600 << 0;
    }

    void wheelMovesTheListOneRowPerNotch()
    {
        QFETCH(int, start);
        QFETCH(int, angle);
        QFETCH(int, expected);
        QVERIFY(list->setCurrentRow(start));
        wheel(QPointF(20, 20), QPoint(0, angle));
        QCOMPARE(list->currentRow(), expected);
        QCOMPARE(gridRow(), expected);
    }

    void partsOfANotchAddUp()
    {
        QVERIFY(list->setCurrentRow(5));
        for (int i = 0; i < 4; ++i)
            wheel(QPointF(20, 20), QPoint(0, -30));
        QCOMPARE(list->currentRow(), 6);
        // Turning back forgets what was gathered the other way.
        wheel(QPointF(20, 20), QPoint(0, -90));
        wheel(QPointF(20, 20), QPoint(0, 60));
        wheel(QPointF(20, 20), QPoint(0, 60));
        QCOMPARE(list->currentRow(), 5);
    }

    void wheelOutsideTheGridIsDropped()
    {
        QVERIFY(list->setCurrentRow(5));
        const int scrolled = grid->verticalScrollBar()->value();
        wheel(QPointF(grid->width() + 50, 20), QPoint(0, -120));
        wheel(QPointF(20, -grid->height() - 50), QPoint(0, 240));
        QCOMPARE(list->currentRow(), 5);
        QCOMPARE(grid->verticalScrollBar()->value(), scrolled);
    }

    void sidewaysWheelLeavesTheListAlone()
    {
        QVERIFY(list->setCurrentRow(5));
        wheel(QPointF(20, 20), QPoint(-120, 0));
        QCOMPARE(list->currentRow(), 5);
    }

    void clickingOrKeysMakeTheRowTheListsCurrentRow()
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(3));
        QCOMPARE(list->currentRow(), 3);
        QVERIFY(grid->selectionModel()->isRowSelected(3, {}));
        QTest::keyClick(grid.get(), Qt::Key_Down);
        QCOMPARE(list->currentRow(), 4);
        QTest::keyClick(grid.get(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(list->currentRow(), 19);
    }

    void theGridFollowsTheList()
    {
        QVERIFY(list->setCurrentRow(7));
        QCOMPARE(gridRow(), 7);
        QVERIFY(grid->selectionModel()->isRowSelected(7, {}));
        QCOMPARE(grid->selectionModel()->selectedRows().size(), 1);
        list->last();
        QCOMPARE(gridRow(), 19);
        QVERIFY(grid->viewport()->rect().intersects(grid->visualRect(model()->index(19, 0))));
    }

    void theGridWaitsWhileControlsAreDisabled()
    {
        QVERIFY(list->setCurrentRow(7));
        list->disableControls();
        QVERIFY(list->setCurrentRow(12));
        QCOMPARE(gridRow(), 7);
        list->enableControls();
        QCOMPARE(gridRow(), 12);
    }

    void newRowsShowTheListsCurrentRow()
    {
        QVERIFY(list->setCurrentRow(9));
        list->setRows(kFields, people(4));
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(gridRow(), 0);
        QCOMPARE(grid->model()->rowCount(), 4);
    }

    void enterAndDoubleClickRequestEditing()
    {
        QSignalSpy edits(grid.get(), &TDBGrid::editRequested);
        QTest::keyClick(grid.get(), Qt::Key_Return);
        QCOMPARE(edits.count(), 1);
        QTest::keyClick(grid.get(), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(edits.count(), 2);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(2));
        QCOMPARE(edits.count(), 3);
        QCOMPARE(list->currentRow(), 2);
        QTest::keyClick(grid.get(), Qt::Key_Down);
        QCOMPARE(edits.count(), 3);
    }

    void doubleClickBelowTheRowsRequestsNothing()
    {
        list->setRows(kFields, people(2));
        QSignalSpy edits(grid.get(), &TDBGrid::editRequested);
        const QPoint below(30, grid->visualRect(model()->index(1, 0)).bottom() + 30);
        QVERIFY(grid->viewport()->rect().contains(below));
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, below);
        QCOMPARE(edits.count(), 0);
    }

    void titleClickGivesTheFieldAndLeavesTheOrder()
    {
        QSignalSpy titles(grid.get(), &TDBGrid::titleClicked);
        QHeaderView* header = grid->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(1) + header->sectionSize(1) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(titles.count(), 1);
        QCOMPARE(titles.at(0).at(0).toString(), u("ACT"));
        QCOMPARE(grid->model()->data(grid->model()->index(0, 0)).toString(), u("Osoba 00"));
    }

    void titlesAreBlackAndTheActiveOneWhite()
    {
        for (int c = 0; c < 3; ++c)
            QCOMPARE(titleColour(c), QColor(Qt::black));
        grid->setActiveTitle(u("ID"));
        QCOMPARE(titleColour(0), QColor(Qt::black));
        QCOMPARE(titleColour(1), QColor(Qt::black));
        QCOMPARE(titleColour(2), QColor(Qt::white));
        grid->setActiveTitle(u("name"));
        QCOMPARE(titleColour(0), QColor(Qt::white));
        QCOMPARE(titleColour(2), QColor(Qt::black));
        grid->setActiveTitle(QString());
        QCOMPARE(titleColour(0), QColor(Qt::black));
    }

    void aDraggedColumnStaysInPlace()
    {
        // The same drag does move the title of a grid that allows it.
        QStandardItemModel plainModel(3, 3);
        QTableView plain;
        plain.setModel(&plainModel);
        plain.horizontalHeader()->setSectionsMovable(true);
        plain.resize(400, 200);
        plain.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plain));
        dragTitle(plain.horizontalHeader(), 0, 2);
        QVERIFY(plain.horizontalHeader()->visualIndex(0) != 0);

        dragTitle(grid->horizontalHeader(), 0, 2);
        for (int c = 0; c < 3; ++c)
            QCOMPARE(grid->horizontalHeader()->visualIndex(c), c);
    }

    void widthsGoThroughTheStorage()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString ini = dir.filePath(u("zefirant.ini"));
        TOVGridColumns* columns = grid->gridColumns();
        QCOMPARE(columns->columnCount(), 3);
        {
            TOVGridStorage storage(ini);
            storage.RegisterGrid(columns, grid->objectName());
            columns->setColumnWidth(1, 55);
            QCOMPARE(grid->columnWidth(1), 55);
            QVERIFY(storage.SaveWidths());
            storage.RestoreDefaultWidths();
            QCOMPARE(grid->columnWidth(1), 40);
        }
        TOVGridStorage storage(ini);
        storage.RegisterGrid(columns, grid->objectName());
        storage.LoadWidths();
        QCOMPARE(grid->columnWidth(0), 150);
        QCOMPARE(grid->columnWidth(1), 55);
    }

    void csvTableHoldsTitlesThenSafeDisplayTexts()
    {
        list->setRows(kFields, {{1, u("Jan \"Kowal\" Kowalski"), u("T")},
                                {2, u("O`Brien"), u("N")},
                                {3, u("Zażółć"), u("T")}});
        list->setDisplayText(u("ACT"), [](const QVariant& v) -> QString {
            return v.toString() == QStringLiteral("N") ? u("zwolniony") : QString();
        });
        QVERIFY(list->setCurrentRow(1));
        QSignalSpy moves(list.get(), &fb::DataSet::currentRowChanged);

        const QList<QStringList> table = grid->csvTable();

        const QList<QStringList> expected{{u("Imię i nazwisko"), u("Zw?"), u("Nr ewid.")},
                                          {u("Jan `Kowal` Kowalski"), QString(), u("1")},
                                          {u("O'Brien"), u("zwolniony"), u("2")},
                                          {u("Zażółć"), QString(), u("3")}};
        QCOMPARE(table, expected);
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(gridRow(), 1);
        for (const QList<QVariant>& move : moves)
            QCOMPARE(move.at(0).toInt(), 1); // the grid never saw the walk
    }

    void csvTableKeepsTitlesUnchanged()
    {
        auto quoted = std::make_unique<TDBGrid>(
            list.get(), std::vector<TDBGridColumn>{{u("NAME"), u("\"Opis\" `x`"), 100},
                                                   {u("MISSING"), u("Brak"), 50}});
        list->setRows(kFields, people(1));
        const QList<QStringList> table = quoted->csvTable();
        QCOMPARE(table,
                 (QList<QStringList>{{u("\"Opis\" `x`"), u("Brak")}, {u("Osoba 00"), QString()}}));
    }

    void csvTableOfAnEmptyListHasTheTitlesOnly()
    {
        list->setRows(kFields, {});
        QCOMPARE(grid->csvTable(),
                 (QList<QStringList>{{u("Imię i nazwisko"), u("Zw?"), u("Nr ewid.")}}));
        QCOMPARE(list->currentRow(), -1);
    }
};

ZF_QTEST_MAIN(TestDBGrid)
#include "dbgrid_test.moc"
