#pragma once

#include "toolkit/Controls.h"

#include "prefs/CyclistPreferences.h"

#include "toolkit/ThemedDialog.h"

#include <QDialog>

#include <array>
#include <functional>

class MessageDialog;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class MainWindowOperations;

// The settings dialog: the grid columns and the first chart of the signed-in
// cyclist, applied and stored the moment they change, and the list of
// cyclists with their seasons, where cyclists are deleted and created. Made
// once at start-up and reused, so its controls keep their state between
// showings.
class TfrmSettings : public ThemedDialog
{
    Q_OBJECT

public:
    static constexpr int columnCount = CyclistPreferences::columnCount;
    static constexpr int chartCount = CyclistPreferences::chartCount;
    // The pages of Pages, in order.
    enum Page { TablePage = 0, ChartPage = 1, UsersPage = 2 };

    explicit TfrmSettings(MainWindowOperations* main);

    // Handlers and methods with the program's names.
    void FormShow() override;
    void FormClose();
    void SeznamCyklistu();
    void VypisSezon();
    void btnDeleteClick();
    void btnCreateClick();
    void listCyclingClick();
    void listCyclingKeyDown();
    void listCyclingKeyUp();
    // The click action of column check box i (0 to 14) and of chart radio
    // button k (0 to 3); the suitemp... handlers call these.
    void columnBoxClick(int column);
    void chartButtonClick(int chart);

    void suitempchboxDenClick() { columnBoxClick(0); }
    void suitempchboxDruhClick() { columnBoxClick(1); }
    void suitempchboxTypClick() { columnBoxClick(2); }
    void suitempchboxObtiznostClick() { columnBoxClick(3); }
    void suitempchboxVlivyClick() { columnBoxClick(4); }
    void suitempchboxPocitClick() { columnBoxClick(5); }
    void suitempchboxCasClick() { columnBoxClick(6); }
    void suitempchboxVzdalenostClick() { columnBoxClick(7); }
    void suitempchboxCelkemClick() { columnBoxClick(8); }
    void suitempchboxPrumerClick() { columnBoxClick(9); }
    void suitempchboxTeplotaClick() { columnBoxClick(10); }
    void suitempchboxTepClick() { columnBoxClick(11); }
    void suitempchboxMaxTepClick() { columnBoxClick(12); }
    void suitempchboxPrevyseniClick() { columnBoxClick(13); }
    void suitempchboxMaxVyskaClick() { columnBoxClick(14); }
    void suitemprdbTimeClick() { chartButtonClick(0); }
    void suitemprdbDstClick() { chartButtonClick(1); }
    void suitemprdbPulseClick() { chartButtonClick(2); }
    void suitemprdbAltClick() { chartButtonClick(3); }

    // Until the next showing the column and chart choices belong to nobody:
    // their pages are disabled and write nothing, so that a deleted cyclist's
    // key is never brought back by a late click.
    void cyclistSignedOut();
    bool choicesActive() const { return m_choicesActive; }

    // Adds a cyclist at the end of the tree; he wears the yellow jersey until
    // the tree is filled again.
    void appendCyclistNode(const QString& name);
    // The cyclist names the tree lists, top to bottom.
    QStringList listedCyclists() const;

    // Components, named as the language files and the tests know them.
    PageControl* Pages = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet3 = nullptr;
    QGroupBox* grbTabulka = nullptr;
    QLabel* lblTabulka = nullptr;
    std::array<QCheckBox*, columnCount> columnBoxes{};
    QCheckBox* chboxDen = nullptr;
    QCheckBox* chboxDruh = nullptr;
    QCheckBox* chboxTyp = nullptr;
    QCheckBox* chboxObtiznost = nullptr;
    QCheckBox* chboxVlivy = nullptr;
    QCheckBox* chboxPocit = nullptr;
    QCheckBox* chboxCas = nullptr;
    QCheckBox* chboxVzdalenost = nullptr;
    QCheckBox* chboxCelkem = nullptr;
    QCheckBox* chboxPrumer = nullptr;
    QCheckBox* chboxTeplota = nullptr;
    QCheckBox* chboxTep = nullptr;
    QCheckBox* chboxMaxTep = nullptr;
    QCheckBox* chboxPrevyseni = nullptr;
    QCheckBox* chboxMaxVyska = nullptr;
    QGroupBox* grpGraf = nullptr;
    std::array<QRadioButton*, chartCount> chartButtons{};
    QRadioButton* rdbTime = nullptr;
    QRadioButton* rdbDst = nullptr;
    QRadioButton* rdbPulse = nullptr;
    QRadioButton* rdbAlt = nullptr;
    QLabel* lblSeznam = nullptr;
    QLabel* lblPocet = nullptr;
    QLabel* lblUserInfo = nullptr;
    QTreeWidget* listCycling = nullptr;
    QTreeWidget* listSezon = nullptr;
    QPushButton* btnDelete = nullptr;
    QPushButton* btnCreate = nullptr;
    MessageDialog* msgDlgListEmpty = nullptr;
    MessageDialog* msgDlgNoDelete = nullptr;
    MessageDialog* msgDlgCyclistDelete = nullptr;

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildTablePage();
    void buildChartPage();
    void buildUsersPage();
    void buildMessageDialogs();
    void connectHandlers();
    // The jerseys follow the selection: the selected node wears yellow, every
    // other one the jersey of its position.
    void dressCyclistNodes();
    QTreeWidgetItem* selectedCyclist() const;
    // Places the count after its caption, whose width follows the language.
    void placeCount();
    MainWindowOperations* m_main;
    bool m_choicesActive = true;
};

// Start-up makes the dialog through this, owned by the main window.
TfrmSettings* createSettingsDialog(MainWindowOperations* main);
