#include "TestMain.h"
#include "TestRides.h"

#include "store/ADOTable.h"
#include "store/RideFilter.h"
#include "store/TData.h"
#include "toolkit/AppIcon.h"
#include "toolkit/BandedScrollBars.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBMemo.h"
#include "toolkit/DrawnIcon.h"
#include "toolkit/FirstShow.h"
#include "toolkit/GridCellDelegate.h"
#include "toolkit/GridHeader.h"
#include "toolkit/MenuItem.h"
#include "toolkit/RideGridModel.h"
#include "toolkit/ScreenPlacement.h"
#include "toolkit/TabControl.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QAbstractScrollArea>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QScreen>
#include <QScrollBar>
#include <QStyleFactory>
#include <QTabBar>
#include <QVBoxLayout>

namespace {
void addRide(ADOTable& t, int day, const QString& note)
{
    addTestRide(t, {.date = QDate(2005, 3, day),
                    .km = QStringLiteral("12.5"),
                    .time = QTime(1, 2, 3),
                    .note = note});
}

// Counts how often a header measures a section's title.
class MeasureCounter : public QProxyStyle
{
public:
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override
    {
        if (type == CT_HeaderSection)
            ++measured;
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    }
    mutable int measured = 0;
};
} // namespace

class TestToolkit : public QObject
{
    Q_OBJECT

private slots:
    void gridFollowsTheTable()
    {
        TData data(TestEnv::root() + QStringLiteral("/grid/Rydex.dat"));
        data.open();
        ADOTable& t = *data.table();
        t.setFilter(RideFilter::month(QStringLiteral("Eva"), 2005, 3));
        DBGrid grid(QStringLiteral("DBGrid"));
        grid.setGridColumns({{RideField::day, QStringLiteral("Den"), 40},
                             {RideField::time, QStringLiteral("Čas"), 0},
                             {RideField::dst, QStringLiteral("Vzdálenost"), 0}});
        QAbstractItemModelTester tester(grid.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        grid.setDataSource(data.source());
        DBMemo note(QStringLiteral("Note"), RideField::note);
        note.setDataSource(data.source());
        addRide(t, 5, QStringLiteral("first"));
        addRide(t, 9, QStringLiteral("second"));
        addRide(t, 2, QStringLiteral("third"));
        QCOMPARE(grid.model()->rowCount(), 3);
        QCOMPARE(grid.model()->index(0, 0).data().toString(), QStringLiteral("2"));
        QCOMPARE(grid.model()->index(0, 1).data().toString(), QStringLiteral("1:02:03"));
        QCOMPARE(grid.model()->index(0, 2).data().toString(), QStringLiteral("12.50"));
        QCOMPARE(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Čas"));
        QCOMPARE(grid.columnWidth(0), 40);

        // Selecting a row moves the table; moving the table moves the selection.
        grid.selectRow(2);
        QCOMPARE(t.currentIndex(), 2);
        QCOMPARE(note.toPlainText(), QStringLiteral("second"));
        t.first();
        QCOMPARE(grid.currentIndex().row(), 0);
        QCOMPARE(note.toPlainText(), QStringLiteral("third"));
        QCOMPARE(grid.model()->headerData(0, Qt::Vertical).toString(), QStringLiteral("\u25B6"));

        // A walk with the controls detached is not followed until it ends.
        t.disableControls();
        t.setFilter(RideFilter::year(QStringLiteral("Eva"), 2004));
        QCOMPARE(grid.model()->rowCount(), 3);
        t.setFilter(RideFilter::month(QStringLiteral("Eva"), 2005, 3));
        t.last();
        QCOMPARE(note.toPlainText(), QStringLiteral("third"));
        // Editing rows during the walk is not followed either.
        QSignalSpy states(&t, &ADOTable::stateChanged);
        t.edit();
        t.setValue(RideField::note, QStringLiteral("walked"));
        t.post();
        QCOMPARE(states.count(), 0);
        t.enableControls();
        QCOMPARE(states.count(), 1);
        QCOMPARE(note.toPlainText(), QStringLiteral("walked"));

        // Column titles and visibility as language files and settings reach them.
        grid.gridColumn(1)->title()->setCaption(QStringLiteral("Time"));
        QCOMPARE(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Time"));
        // A title wider than its column keeps its beginning.
        auto* header = qobject_cast<GridHeader*>(grid.horizontalHeader());
        QVERIFY(header);
        grid.gridColumn(2)->title()->setCaption(QStringLiteral("Převýšení"));
        grid.setColumnWidth(2, 200);
        QCOMPARE(header->shownText(2), QStringLiteral("Převýšení"));
        QCOMPARE(header->shownAlignment(2), Qt::AlignCenter);
        grid.setColumnWidth(2, 40);
        QVERIFY2(header->shownText(2).startsWith(QStringLiteral("P")) &&
                     header->shownText(2).endsWith(QChar(0x2026)),
                 qPrintable(header->shownText(2)));
        QCOMPARE(header->shownAlignment(2), Qt::AlignLeft | Qt::AlignVCenter);
        grid.gridColumn(2)->setVisible(false);
        QVERIFY(grid.isColumnHidden(2));
        t.close();
        QCOMPARE(grid.model()->rowCount(), 0);
        QCOMPARE(note.toPlainText(), QString());
    }

    // Qt measures every title of both headers again after each change of the
    // rows; the grid measures only when a title, the font or the style changed.
    void gridHeadersMeasureOnlyWhatChanged()
    {
        TData data(TestEnv::root() + QStringLiteral("/gridheaders/Rydex.dat"));
        data.open();
        ADOTable& t = *data.table();
        t.setFilter(RideFilter::month(QStringLiteral("Eva"), 2005, 3));
        for (int day = 1; day <= 20; ++day)
            addRide(t, day, QString());
        MeasureCounter counter;
        DBGrid grid(QStringLiteral("DBGrid"));
        grid.setGridColumns({{RideField::day, QStringLiteral("Den"), 30},
                             {RideField::time, QStringLiteral("Čas"), 60},
                             {RideField::dst, QStringLiteral("km"), 50}});
        grid.setDataSource(data.source());
        grid.resize(300, 200);
        QHeaderView* header = grid.horizontalHeader();
        header->setStyle(&counter);
        grid.verticalHeader()->setStyle(&counter);
        grid.grab();
        const QSize hint = header->sizeHint();
        QCOMPARE(grid.verticalHeader()->width(), 14);

        counter.measured = 0;
        for (int i = 0; i < 5; ++i)
            t.next();
        t.setFilter(RideFilter::month(QStringLiteral("Eva"), 2005, 4));
        t.setFilter(RideFilter::month(QStringLiteral("Eva"), 2005, 3));
        grid.grab();
        QCOMPARE(counter.measured, 0);
        QCOMPARE(header->sizeHint(), hint);
        QCOMPARE(grid.verticalHeader()->width(), 14);

        // Each change that can change the titles' size is measured anew.
        grid.gridColumn(1)->title()->setCaption(QStringLiteral("Čas\njízdy"));
        QVERIFY(header->sizeHint().height() > hint.height());
        grid.gridColumn(1)->title()->setCaption(QStringLiteral("Čas"));
        QCOMPARE(header->sizeHint(), hint);
        QFont big = header->font();
        big.setPointSizeF(big.pointSizeF() * 2);
        header->setFont(big);
        QVERIFY(header->sizeHint().height() > hint.height());
        header->setFont(QFont());
        grid.setStyleSheet(QStringLiteral("QHeaderView::section { padding: 12px; }"));
        QVERIFY(header->sizeHint().height() > hint.height());
        grid.setStyleSheet(QString());
        QCOMPARE(header->sizeHint(), hint);
    }

    // Scroll bars drawn through kept, banded pictures look exactly like the
    // style's own, after every change of their range, position and state.
    void bandedScrollBarsLookAsTheirStyle_data()
    {
        QTest::addColumn<Qt::Orientation>("orientation");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("sheet");
        // Whether the pictures are ours; a theme that styles scroll bars
        // draws them itself.
        QTest::addColumn<bool>("ours");
        QTest::newRow("tall") << Qt::Vertical << QSize(14, 307) << QString() << true;
        QTest::newRow("short") << Qt::Vertical << QSize(14, 40) << QString() << true;
        QTest::newRow("wide") << Qt::Horizontal << QSize(760, 14) << QString() << true;
        QTest::newRow("tall, theme of other controls")
            << Qt::Vertical << QSize(16, 300)
            << QStringLiteral("QTableView { background: #20304a; color: #e0e0e0; }") << true;
        QTest::newRow("tall, theme of every control")
            << Qt::Vertical << QSize(16, 300)
            << QStringLiteral("QWidget { background: #20304a; color: #e0e0e0; }") << false;
        QTest::newRow("wide, theme of scroll bars")
            << Qt::Horizontal << QSize(500, 16)
            << QStringLiteral("QScrollBar { background: #fdfdf8; }") << false;
    }

    void bandedScrollBarsLookAsTheirStyle()
    {
        QFETCH(Qt::Orientation, orientation);
        QFETCH(QSize, size);
        QFETCH(QString, sheet);
        QFETCH(bool, ours);
        BandedScrollBars style(QStyleFactory::create(QApplication::style()->name()));
        QWidget parent;
        parent.setStyleSheet(sheet);
        QScrollBar plain(orientation, &parent);
        QScrollBar banded(orientation, &parent);
        banded.setStyle(&style);
        for (QScrollBar* bar : {&plain, &banded}) {
            bar->resize(size);
            bar->setRange(0, 40);
            bar->setPageStep(12);
        }
        const auto same = [&] {
            const QImage a = plain.grab().toImage();
            const QImage b = banded.grab().toImage();
            return a.size() == b.size() && a == b;
        };
        QVERIFY(same());
        const int drawn = style.picturesDrawn();
        QVERIFY(same());
        QCOMPARE(style.picturesDrawn(), drawn);
        for (QScrollBar* bar : {&plain, &banded})
            bar->setValue(17);
        QVERIFY(same());
        for (QScrollBar* bar : {&plain, &banded})
            bar->setRange(0, 3);
        QVERIFY(same());
        for (QScrollBar* bar : {&plain, &banded})
            bar->setEnabled(false);
        QVERIFY(same());
        QCOMPARE(style.picturesDrawn() > drawn, ours);
    }

    // A theme chosen after the controls exist still draws their scroll bars.
    void bandedScrollBarsFollowALaterTheme()
    {
        QPlainTextEdit area;
        area.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        BandedScrollBars::useFor(&area);
        area.resize(200, 300);
        const QColor themed(200, 0, 0);
        const auto themedPixels = [&] {
            const QImage bar = area.verticalScrollBar()->grab().toImage();
            int count = 0;
            for (int y = 0; y < bar.height(); ++y)
                for (int x = 0; x < bar.width(); ++x)
                    count += bar.pixelColor(x, y) == themed;
            return count;
        };
        QCOMPARE(themedPixels(), 0);
        qApp->setStyleSheet(QStringLiteral("QScrollBar { background: rgb(200, 0, 0); }"));
        const int drawn = themedPixels();
        qApp->setStyleSheet(QString());
        QVERIFY(drawn > 0);
        QCOMPARE(themedPixels(), 0);
    }

    // The grid's quick painting must look exactly like Qt's own: the same
    // pixels for plain, selected, right-aligned and shortened cells, with
    // and without a theme's style sheet.
    void gridCellsPaintAsQtWould_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::newRow("no theme") << QString();
        QTest::newRow("theme") << QStringLiteral(
            "QTableView { background: #fdfdf8; color: #1b2a49; gridline-color: #c8cbd2;"
            " selection-background-color: #5b78b0; selection-color: white; font-size: 11pt; }"
            " QMenu::item { padding: 4px; }");
    }

    void gridCellsPaintAsQtWould()
    {
        QFETCH(QString, sheet);
        TData data(TestEnv::root() + QStringLiteral("/gridpaint/") + QTest::currentDataTag() +
                   QStringLiteral("/Rydex.dat"));
        data.open();
        ADOTable& t = *data.table();
        t.setFilter(RideFilter::month(QStringLiteral("Eva"), 2005, 3));
        for (int day : {3, 7, 12, 28})
            addRide(t, day, QStringLiteral("a note long enough to be shortened in its column"));
        DBGrid grid(QStringLiteral("DBGrid"));
        grid.setGridColumns({{RideField::day, QStringLiteral("Den"), 30},
                             {RideField::time, QStringLiteral("Čas"), 60},
                             {RideField::dst, QStringLiteral("km"), 50},
                             {RideField::note, QStringLiteral("Poznámka"), 90}});
        grid.setDataSource(data.source());
        grid.setStyleSheet(sheet);
        grid.resize(300, 140);
        grid.selectRow(1);
        const QImage quick = grid.grab().toImage();
        grid.setItemDelegate(new QStyledItemDelegate(&grid));
        const QImage qt = grid.grab().toImage();
        QCOMPARE(quick.size(), qt.size());
        QVERIFY(quick == qt);
    }

    void sheetsThatStyleGridItems_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<bool>("styled");
        QTest::newRow("none") << QString() << false;
        QTest::newRow("menus only")
            << "QMenu::item { padding: 4px; } QMenuBar::item:selected {}" << false;
        QTest::newRow("table items") << "QTableView::item { color: red; }" << true;
        QTest::newRow("any item") << "::item:selected { background: blue; }" << true;
        QTest::newRow("named grid") << "QMenu::item {} #DBGrid1::item { padding: 2px }" << true;
        QTest::newRow("in a comment") << "/* QTableView::item { color: red } */ QLabel {}" << false;
        QTest::newRow("second selector")
            << "QMenu::item, QAbstractItemView::item { color: red }" << true;
    }

    void sheetsThatStyleGridItems()
    {
        QFETCH(QString, sheet);
        QFETCH(bool, styled);
        QCOMPARE(GridCellDelegate::sheetStylesViewItems(sheet), styled);
    }

    void disabledSubmenuSilencesItsItems()
    {
        QWidget owner;
        MenuItem top(QStringLiteral("mnuRecords"), QStringLiteral("&Záznamy"), &owner);
        auto* inner = new MenuItem(QStringLiteral("mnuNovyZaznam"), QStringLiteral("Nový"), &owner);
        auto* deeper = new MenuItem(QStringLiteral("mnuSub"), QStringLiteral("Sub"), &owner);
        auto* leaf = new MenuItem(QStringLiteral("mnuLeaf"), QStringLiteral("Leaf"), &owner);
        top.addItem(inner);
        top.addItem(deeper);
        deeper->addItem(leaf);
        top.setOwnEnabled(false);
        QVERIFY(!inner->isEnabled());
        QVERIFY(!leaf->isEnabled());
        QVERIFY(inner->ownEnabled());
        // A child switched off stays off when the parent comes back.
        deeper->setOwnEnabled(false);
        top.setOwnEnabled(true);
        QVERIFY(inner->isEnabled());
        QVERIFY(!leaf->isEnabled());
        deeper->setOwnEnabled(true);
        QVERIFY(leaf->isEnabled());
        // Rebuilt submenus lose their old items by name at once.
        top.removeItems();
        QVERIFY(!owner.findChild<MenuItem*>(QStringLiteral("mnuNovyZaznam")));
    }

    void popupShortcutsWinInTheirControl_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("grid") << QStringLiteral("DBGrid");
        QTest::newRow("note") << QStringLiteral("Note");
    }

    // The popup menu's keys win over the main menu's while its control has
    // the focus, and a context-menu request (a click inside, or the menu key)
    // shows that popup in place of the control's own menu.
    void popupShortcutsWinInTheirControl()
    {
        QFETCH(QString, control);
        QWidget window;
        auto* main = new QAction(&window);
        main->setShortcut(QKeySequence(QStringLiteral("Ctrl+E")));
        window.addAction(main);
        QSignalSpy mainSpy(main, &QAction::triggered);
        QMenu popup(&window);
        auto* item = new MenuItem(QStringLiteral("mnuEditItem"), QStringLiteral("Edit"), &window);
        item->setShortCutText(QStringLiteral("Ctrl+E"));
        item->setShortcutContext(Qt::WidgetShortcut);
        popup.addAction(item);
        QSignalSpy itemSpy(item, &QAction::triggered);
        QAbstractScrollArea* grid = nullptr;
        if (control == QLatin1String("DBGrid")) {
            auto* g = new DBGrid(control, &window);
            g->setPopupMenu(&popup);
            grid = g;
        } else {
            auto* note = new DBMemo(control, RideField::note, &window);
            note->setPopupMenu(&popup);
            grid = note;
        }
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(itemSpy.count(), 1);
        QCOMPARE(mainSpy.count(), 0);
        // A disabled popup item still claims its key, but does nothing.
        item->setOwnEnabled(false);
        QTest::keyClick(grid, Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(itemSpy.count(), 1);
        QCOMPARE(mainSpy.count(), 0);

        const QPoint inside = grid->viewport()->rect().center();
        for (const auto reason : {QContextMenuEvent::Mouse, QContextMenuEvent::Keyboard}) {
            QWidget* target = reason == QContextMenuEvent::Mouse ? grid->viewport() : grid;
            QContextMenuEvent request(reason, inside, target->mapToGlobal(inside));
            QApplication::sendEvent(target, &request);
            QVERIFY2(popup.isVisible(), reason == QContextMenuEvent::Mouse ? "mouse" : "keyboard");
            QCOMPARE(QApplication::activePopupWidget(), &popup);
            popup.hide();
        }
    }

    void tabControlSignalsOnlyRealChanges()
    {
        TabControl tabs(QStringLiteral("Mesice"));
        tabs.setTabs({QStringLiteral("Leden"), QStringLiteral("Únor"), QStringLiteral("Březen")});
        QSignalSpy spy(&tabs, &TabControl::Change);
        tabs.setTabIndex(0);
        QCOMPARE(spy.count(), 0);
        tabs.setTabIndex(2);
        QCOMPARE(spy.count(), 1);
        tabs.setTabIndex(7);
        QCOMPARE(tabs.tabIndex(), 2);
        // Translating the captions keeps the selection and runs nothing.
        tabs.setTabs(
            {QStringLiteral("January"), QStringLiteral("February"), QStringLiteral("March")});
        QCOMPARE(spy.count(), 1);
        QCOMPARE(tabs.tabCaption(2), QStringLiteral("March"));

        // Captions translated while the tabs are hidden (before sign-in)
        // all show when they appear, without scroll buttons.
        QWidget window;
        auto* page = new QWidget(&window);
        auto* rows = new QVBoxLayout(page);
        auto* months = new TabControl(QStringLiteral("Mesice"), page);
        rows->addWidget(months);
        (new QVBoxLayout(&window))->addWidget(page);
        months->setTabs({QStringLiteral("I"), QStringLiteral("II"), QStringLiteral("III")});
        window.resize(900, 120);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        page->hide();
        QTabBar* bar = months->tabBar();
        months->setTabs({QStringLiteral("January"), QStringLiteral("February"),
                         QStringLiteral("March"), QStringLiteral("September")});
        bar->sizeHint();
        page->show();
        QCoreApplication::sendPostedEvents();
        QVERIFY2(
            bar->width() >= bar->sizeHint().width(),
            qPrintable(QStringLiteral("%1 < %2").arg(bar->width()).arg(bar->sizeHint().width())));
    }

    // The program's icon, the same at every size the icon theme asks for:
    // the window icon has each of them, and the about box's picture is
    // drawn at the screen's pixel ratio.
    void iconAtEverySize()
    {
        for (const int size : AppIcon::themeSizes) {
            const QImage image = AppIcon::render(size);
            QCOMPARE(image.size(), QSize(size, size));
            // Drawn, with a clear corner outside the rounded square.
            QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
            QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
            QVERIFY(AppIcon::icon().availableSizes().contains(QSize(size, size)));
        }
        QCOMPARE(AppIcon::pixmap(32).deviceIndependentSize(), QSizeF(32, 32));
    }

    // Drawn icons: each size drawn once, when asked for, at the device
    // pixels asked for; a disabled picture made from the normal one; an
    // icon that draws nothing is null.
    void drawnIconsDrawWhenAsked()
    {
        QList<int> drawn;
        const QIcon icon = DrawnIcon::make(
            [&drawn](int side) {
                drawn << side;
                QPixmap pm(side, side);
                pm.fill(Qt::red);
                return pm;
            },
            {QSize(16, 16), QSize(32, 32)});
        QVERIFY(drawn.isEmpty());
        QCOMPARE(icon.pixmap(QSize(16, 16), 2.0).size(), QSize(32, 32));
        QCOMPARE(icon.pixmap(QSize(16, 16), 2.0).size(), QSize(32, 32));
        QCOMPARE(drawn, QList<int>{32});
        const QImage disabled = icon.pixmap(QSize(16, 16), QIcon::Disabled).toImage();
        QVERIFY(disabled.pixelColor(8, 8) != QColor(Qt::red));
        QCOMPARE(icon.availableSizes(), QList<QSize>({QSize(16, 16), QSize(32, 32)}));
        QVERIFY(!icon.isNull());
        QVERIFY(DrawnIcon::make([](int) { return QPixmap(); }, {QSize(16, 16)}).isNull());

        // A picture for a group that is hidden until opened waits for it.
        QWidget group;
        int shown = 0;
        onFirstShow(&group, [&shown] { ++shown; });
        QCOMPARE(shown, 0);
        group.show();
        group.hide();
        group.show();
        QCOMPARE(shown, 1);
        onFirstShow(&group, [&shown] { ++shown; });
        QCOMPARE(shown, 2);
    }

    // A window fits the screen's free area: centred when it fits, and its
    // title bar on the screen when it is larger (the offscreen screen is
    // 800 by 600, smaller than the main window's design size).
    void windowsStayOnTheScreen()
    {
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QWidget small;
        small.resize(300, 200);
        centreOnScreen(&small);
        QCOMPARE(small.frameGeometry().center(), available.center());
        QWidget large;
        large.resize(available.width() + 200, available.height() + 120);
        centreOnScreen(&large);
        QCOMPARE(large.pos(), available.topLeft());
        QWidget tall;
        tall.resize(200, available.height() + 120);
        centreOnScreen(&tall);
        QCOMPARE(tall.pos().y(), available.top());
        QCOMPARE(tall.frameGeometry().center().x(), available.center().x());
    }
};

RYDEX_TEST_MAIN(TestToolkit, QApplication)
#include "tst_toolkit.moc"
