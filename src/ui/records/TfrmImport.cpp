#include "records/TfrmImport.h"

#include "records/ImportRidesModel.h"

#include "import/ImportStore.h"
#include "import/RideFileScan.h"
#include "base/MessageCatalogue.h"
#include "polyglot/TbsPolyglotTranslator.h"
#include "store/ADOTable.h"
#include "store/ImportRecords.h"
#include "base/RydexError.h"
#include "toolkit/Controls.h"
#include "toolkit/DialogPresenter.h"
#include "toolkit/RunReported.h"
#include "toolkit/ScreenPlacement.h"
#include "toolkit/ThemedFrame.h"

#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QProgressBar>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {
constexpr int bandHeight = 30;

QString fileFilter()
{
    return Msg::format(Msg::ImportFileFilter,
                       {QStringLiteral("*.fit *.gpx *.tcx *.fit.gz *.gpx.gz *.tcx.gz")});
}
} // namespace

TfrmImport::TfrmImport(ADOTable* table, const QString& cyclist, CyclistPreferences preferences,
                       const ValueLists& lists, QWidget* parent)
    : ThemedDialog(parent, QStringLiteral("frmImport"), QStringLiteral("Import jízd"),
                   titleAndClose | Qt::WindowMaximizeButtonHint),
      m_table(table), m_cyclist(cyclist), m_preferences(std::move(preferences))
{
    takeOwnerFont();
    m_model = new ImportRidesModel(this);
    m_model->setValueLists(lists);
    m_sorted = new QSortFilterProxyModel(this);
    m_sorted->setSourceModel(m_model);
    m_sorted->setSortRole(ImportRidesModel::SortRole);
    m_scanner = new RideFileScanner(this);
    buildControls();

    chooseFiles = [this](const QString& start) {
        return QFileDialog::getOpenFileNames(this, Msg::text(Msg::ImportFilesCaption), start,
                                             fileFilter());
    };
    chooseFolder = [this](const QString& start) {
        return QFileDialog::getExistingDirectory(this, Msg::text(Msg::ImportFolderCaption), start);
    };

    connect(m_scanner, &RideFileScanner::filesFound, this, &TfrmImport::filesFound);
    connect(m_scanner, &RideFileScanner::filesRead, this,
            [this](const QList<ScannedFile>& files, int done, int) { filesRead(files, done); });
    connect(m_scanner, &RideFileScanner::finished, this, &TfrmImport::readingFinished);
    connect(m_model, &ImportRidesModel::tickedChanged, this, &TfrmImport::showCounts);
    connect(btnFiles, &QPushButton::clicked, this, &TfrmImport::btnFilesClick);
    connect(btnFolder, &QPushButton::clicked, this, &TfrmImport::btnFolderClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmImport::btnCancelClick);
    connect(btnImport, &QPushButton::clicked, this, &TfrmImport::btnImportClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);

    if (TbsPolyglotTranslator* translator = applyThemeAndLanguage(
            {QStringLiteral("frmImportSui"), QStringLiteral("btnFiles"), QStringLiteral("btnFolder"),
             QStringLiteral("List"), QStringLiteral("ProgressBar"), QStringLiteral("btnCancel"),
             QStringLiteral("btnImport"), QStringLiteral("btnClose")})) {
        // The titles, statuses and counts are composed from the message
        // texts of the language in force.
        translator->AfterTranslate = [this](QObject*) {
            m_model->retranslate();
            showCounts();
        };
    }
    showReading(false);
    showCounts();
    resize(960, 540);
    fitOnScreen(this);
    centreOnScreen(this);
}

TfrmImport::~TfrmImport() = default;

void TfrmImport::buildControls()
{
    auto* frame = new ThemedFrame(QStringLiteral("frmImportSui"), this, bandHeight);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(10, bandHeight + 8, 10, 10);

    auto* choice = new QHBoxLayout;
    btnFiles = new Button(QStringLiteral("btnFiles"), QStringLiteral("&Soubory..."), frame);
    btnFolder = new Button(QStringLiteral("btnFolder"), QStringLiteral("S&ložka..."), frame);
    auto* found = new Label(QStringLiteral("lblFound"), QString(), frame);
    // A figure of what was read, composed anew each time.
    found->setProperty("translatable", false);
    found->setWordWrap(true);
    lblFound = found;
    choice->addWidget(btnFiles);
    choice->addWidget(btnFolder);
    choice->addSpacing(8);
    choice->addWidget(lblFound, 1);
    layout->addLayout(choice);

    List = new QTableView(frame);
    List->setObjectName(QStringLiteral("List"));
    List->setModel(m_sorted);
    List->setSortingEnabled(true);
    List->sortByColumn(ImportRidesModel::Date, Qt::AscendingOrder);
    List->setSelectionBehavior(QAbstractItemView::SelectRows);
    List->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List->setAlternatingRowColors(true);
    List->setWordWrap(false);
    // A file's name differs from its neighbours' at its end.
    List->setTextElideMode(Qt::ElideMiddle);
    List->verticalHeader()->hide();
    List->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    List->horizontalHeader()->setStretchLastSection(true);
    List->installEventFilter(this);
    layout->addWidget(List, 1);

    auto* buttons = new QHBoxLayout;
    ProgressBar = new QProgressBar(frame);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    btnCancel = new Button(QStringLiteral("btnCancel"), QStringLiteral("&Přerušit čtení"), frame);
    btnImport = new Button(QStringLiteral("btnImport"), QString(), frame);
    // Its caption counts the ticked rides.
    btnImport->setProperty("translatable", false);
    btnImport->setDefault(true);
    btnClose = new Button(QStringLiteral("btnClose"), QStringLiteral("&Zavřít"), frame);
    buttons->addWidget(ProgressBar, 1);
    buttons->addWidget(btnCancel);
    buttons->addStretch(0);
    buttons->addWidget(btnImport);
    buttons->addWidget(btnClose);
    layout->addLayout(buttons);
    setTabOrder(btnFiles, btnFolder);
    setTabOrder(btnFolder, List);
    setTabOrder(List, btnCancel);
    setTabOrder(btnCancel, btnImport);
    setTabOrder(btnImport, btnClose);
}

bool TfrmImport::isReading() const
{
    return m_scanner->isRunning();
}

void TfrmImport::readFiles(const QStringList& paths)
{
    m_chosen = true;
    m_model->clear();
    m_planner.reset();
    try {
        m_planner = std::make_unique<ImportPlanner>(
            m_cyclist, storedRidesOf(*m_table, m_cyclist),
            ImportRecords::importedFiles(*m_table->connection(), m_cyclist));
    } catch (const std::exception& e) {
        DialogPresenter::current().showError(errorText(e));
        showCounts();
        return;
    }
    ProgressBar->setRange(0, 0);
    ProgressBar->setValue(0);
    showReading(true);
    m_scanner->start(paths);
}

void TfrmImport::filesFound(int total)
{
    ProgressBar->setRange(0, std::max(total, 1));
}

void TfrmImport::filesRead(const QVector<ScannedFile>& files, int done)
{
    if (!m_planner)
        return;
    for (const ScannedFile& file : files)
        m_model->append(m_planner->add(file));
    ProgressBar->setValue(std::min(done, ProgressBar->maximum()));
    // Each column as wide as its widest text so far (the user may change
    // it); the status takes the rest.
    for (int column = 0; column < ImportRidesModel::Status; ++column)
        List->resizeColumnToContents(column);
}

void TfrmImport::readingFinished()
{
    showReading(false);
    showCounts();
    if (m_model->rowCount() > 0) {
        List->setFocus();
        if (!List->currentIndex().isValid())
            List->setCurrentIndex(m_sorted->index(0, ImportRidesModel::Tick));
    }
}

void TfrmImport::showReading(bool reading)
{
    ProgressBar->setVisible(reading);
    btnCancel->setVisible(reading);
    btnFiles->setEnabled(!reading);
    btnFolder->setEnabled(!reading);
    showCounts();
}

void TfrmImport::showCounts()
{
    const ImportRidesModel::Counts c = m_model->counts();
    if (!m_chosen) {
        lblFound->setText(Msg::text(Msg::ImportNothingChosen));
    } else {
        lblFound->setText(Msg::format(Msg::ImportSummary,
                                      {QString::number(c.rides), QString::number(c.fresh),
                                       QString::number(c.recorded), QString::number(c.cannot)}));
    }
    const int ticked = int(m_model->tickedRows().size());
    btnImport->setText(Msg::format(Msg::ImportButton, {QString::number(ticked)}));
    btnImport->setEnabled(ticked > 0 && !isReading());
}

void TfrmImport::rememberFolder(const QString& folder)
{
    runReported([this, &folder] { m_preferences.setImportFolder(folder); });
}

QString TfrmImport::startFolder() const
{
    const QString folder = m_preferences.importFolder();
    return folder.isEmpty() ? QDir::homePath() : folder;
}

void TfrmImport::btnFilesClick()
{
    const QStringList files = chooseFiles(startFolder());
    if (files.isEmpty())
        return;
    rememberFolder(QFileInfo(files.first()).absolutePath());
    readFiles(files);
}

void TfrmImport::btnFolderClick()
{
    const QString folder = chooseFolder(startFolder());
    if (folder.isEmpty())
        return;
    rememberFolder(folder);
    readFiles({folder});
}

void TfrmImport::btnCancelClick()
{
    // What was read so far stays listed and can be imported.
    m_scanner->cancel();
}

void TfrmImport::btnImportClick()
{
    if (isReading())
        return;
    QVector<RideToImport> rides;
    for (int row : m_model->tickedRows()) {
        const ImportCandidate& c = m_model->candidates().at(row);
        rides.append({c.row, c.sha256, c.path});
    }
    if (rides.isEmpty())
        return;
    try {
        m_imported = storeImportedRides(*m_table, rides, QDateTime::currentDateTimeUtc());
    } catch (const std::exception& e) {
        // Nothing was stored: the list stays as it is, for another try.
        m_imported.clear();
        DialogPresenter::current().showError(errorText(e));
        return;
    }
    accept();
}

void TfrmImport::toggleSelected()
{
    QList<int> rows;
    for (const QModelIndex& index : List->selectionModel()->selectedRows())
        rows.append(m_sorted->mapToSource(index).row());
    if (rows.isEmpty() && List->currentIndex().isValid())
        rows.append(m_sorted->mapToSource(List->currentIndex()).row());
    // One press ticks them all unless all are ticked already.
    bool allTicked = true;
    for (int row : rows)
        allTicked = allTicked && m_model->candidates().at(row).ticked;
    for (int row : rows)
        m_model->setTicked(row, !allTicked);
}

bool TfrmImport::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == List && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
            toggleSelected();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
