#include "app/TfrmDatabase.h"

#include "app/StoreOpening.h"
#include "app/TfrmPassword.h"
#include "base/MessageCatalogue.h"
#include "base/RydexError.h"
#include "polyglot/TbsPolyglotTranslator.h"
#include "store/ServerCheck.h"
#include "toolkit/Controls.h"
#include "toolkit/DialogPresenter.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/RunReported.h"
#include "toolkit/ThemedFrame.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {
constexpr int bandHeight = 30;
// Wide enough for a connection text with host, port, database, user and
// TLS mode in full.
constexpr int textWidth = 440;

// A server the user is about to wait for: the pointer says so, and the
// window shows what it is doing before it waits.
class Waiting
{
public:
    Waiting()
    {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    ~Waiting() { QGuiApplication::restoreOverrideCursor(); }
    Waiting(const Waiting&) = delete;
    Waiting& operator=(const Waiting&) = delete;
};
} // namespace

TfrmDatabase::TfrmDatabase(QWidget* owner, StoreOpening& opening, const StoreLocation& file,
                           const StoreLocation& current, const QString& serverText)
    : ThemedDialog(owner, QStringLiteral("frmDatabase"), QStringLiteral("Databáze"), titleAndClose,
                   Placement::CentredAtEachShowing),
      m_opening(opening), m_file(file), m_current(current)
{
    takeOwnerFont();
    buildControls();
    // A long path is shortened in its middle; the tip holds it whole.
    const QString path = QDir::toNativeSeparators(file.filePath());
    lblFile->setText(lblFile->fontMetrics().elidedText(path, Qt::ElideMiddle, textWidth));
    lblFile->setToolTip(path);
    edtServer->setText(current.isServer() ? current.connectionText() : serverText);
    (current.isServer() ? rbServer : rbFile)->setChecked(true);
    showChoice();
}

void TfrmDatabase::buildControls()
{
    auto* frame = new ThemedFrame(QStringLiteral("frmDatabaseSui"), this, bandHeight);
    frmDatabaseSui = frame;
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(14, bandHeight + 10, 14, 12);
    const auto indented = [layout](QWidget* control) {
        auto* row = new QHBoxLayout;
        row->addSpacing(22);
        row->addWidget(control, 1);
        layout->addLayout(row);
    };
    rbFile = new RadioButton(QStringLiteral("rbFile"), QStringLiteral("Na tomto &počítači"), frame);
    layout->addWidget(rbFile);
    auto* path = new Label(QStringLiteral("lblFile"), QString(), frame);
    path->setProperty("translatable", false); // the file's path
    path->setTextInteractionFlags(Qt::TextSelectableByMouse);
    path->setFixedWidth(textWidth);
    lblFile = path;
    indented(lblFile);
    layout->addSpacing(6);
    rbServer = new RadioButton(QStringLiteral("rbServer"), QStringLiteral("Na &serveru PostgreSQL"),
                               frame);
    layout->addWidget(rbServer);
    edtServer = new Edit(QStringLiteral("edtServer"), frame);
    // libpq's own words, the same in every language.
    edtServer->setPlaceholderText(QStringLiteral(
        "host=… port=5432 dbname=club user=… sslmode=verify-full   |   service=club"));
    edtServer->setFixedWidth(textWidth);
    indented(edtServer);
    btnTest = new Button(QStringLiteral("btnTest"), QStringLiteral("&Vyzkoušet spojení"), frame);
    btnCopy = new Button(QStringLiteral("btnCopy"),
                         QStringLiteral("Zkopírovat &jízdy z tohoto počítače na server"), frame);
    auto* actions = new QHBoxLayout;
    actions->addSpacing(22);
    actions->addWidget(btnTest);
    actions->addWidget(btnCopy);
    actions->addStretch(1);
    layout->addLayout(actions);
    // What the test or the copy found, in the program's words.
    auto* result = new Label(QStringLiteral("lblResult"), QString(), frame);
    result->setProperty("translatable", false);
    result->setWordWrap(true);
    result->setFixedWidth(textWidth);
    result->setMinimumHeight(3 * result->fontMetrics().lineSpacing());
    result->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblResult = result;
    indented(lblResult);
    addOkAndCancel(layout, frame, btnOk, btnCancel);
    for (auto [from, to] : {std::pair<QWidget*, QWidget*>{rbFile, rbServer},
                            {rbServer, edtServer},
                            {edtServer, btnTest},
                            {btnTest, btnCopy},
                            {btnCopy, btnOk},
                            {btnOk, btnCancel}})
        setTabOrder(from, to);

    connect(rbFile, &QRadioButton::toggled, this, &TfrmDatabase::showChoice);
    connect(edtServer, &QLineEdit::textChanged, this, &TfrmDatabase::showChoice);
    connect(btnTest, &QPushButton::clicked, this,
            [this] { runReported([this] { btnTestClick(); }); });
    connect(btnCopy, &QPushButton::clicked, this,
            [this] { runReported([this] { btnCopyClick(); }); });
    connect(btnOk, &QPushButton::clicked, this, [this] { runReported([this] { btnOkClick(); }); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    if (TbsPolyglotTranslator* translator = applyThemeAndLanguage(
            {QStringLiteral("frmDatabaseSui"), QStringLiteral("rbFile"), QStringLiteral("rbServer"),
             QStringLiteral("edtServer"), QStringLiteral("btnTest"), QStringLiteral("btnCopy"),
             QStringLiteral("btnOk"), QStringLiteral("btnCancel")}))
        translator->AfterTranslate = [this](QObject*) { fitToTexts(); };
    fitToTexts();
}

StoreLocation TfrmDatabase::chosen() const
{
    return rbServer->isChecked() ? StoreLocation::server(edtServer->text()) : m_file;
}

void TfrmDatabase::showChoice()
{
    const bool server = rbServer->isChecked();
    edtServer->setEnabled(server);
    btnTest->setEnabled(server);
    // Only where the last test found the way open, and for the text tested.
    btnCopy->setEnabled(server && copyRides && m_reachable && *m_reachable == chosen());
}

void TfrmDatabase::showResult(const QString& text)
{
    lblResult->setText(text);
    fitToTexts();
}

void TfrmDatabase::btnTestClick()
{
    m_reachable.reset();
    showChoice();
    const StoreLocation location = StoreLocation::server(edtServer->text());
    if (const std::optional<QString> problem =
            StoreLocation::connectionTextProblem(location.connectionText())) {
        showResult(*problem);
        return;
    }
    showResult(Msg::format(Msg::DatabaseConnecting, {location.shown()}));
    QString password = m_opening.knownPassword(location);
    ServerCheck check;
    {
        const Waiting waiting;
        check = checkServer(location, password);
    }
    while (check.outcome == ServerCheck::Outcome::PasswordNeeded) {
        const std::optional<QString> typed = m_opening.askPassword(check.text);
        if (!typed)
            break;
        password = *typed;
        const Waiting waiting;
        check = checkServer(location, password);
    }
    if (check.outcome == ServerCheck::Outcome::Ready ||
        check.outcome == ServerCheck::Outcome::Empty) {
        m_opening.remember(location, password);
        m_reachable = location;
    }
    showResult(check.text);
    showChoice();
}

void TfrmDatabase::btnCopyClick()
{
    if (!copyRides || !m_reachable)
        return;
    const QString done = copyRides(*m_reachable);
    showResult(done);
    MessageDialog told(QStringLiteral("CopyDone"), this);
    told.setCaption(Msg::text(Msg::Information));
    told.setIconType(MessageDialog::Information);
    told.setText(done);
    told.execute();
}

void TfrmDatabase::btnOkClick()
{
    const StoreLocation location = chosen();
    if (location.isServer()) {
        if (const std::optional<QString> problem =
                StoreLocation::connectionTextProblem(location.connectionText())) {
            DialogPresenter::current().showError(*problem);
            edtServer->setFocus();
            return;
        }
    }
    if (location == m_current || !useStore || useStore(location))
        accept();
}

void TfrmDatabase::FormShow()
{
    (rbServer->isChecked() ? static_cast<QWidget*>(edtServer) : rbFile)->setFocus();
}

void TfrmDatabase::fitToTexts()
{
    // The frame is no layout of the window's own: the window takes the size
    // its texts need, in the language shown.
    setFixedSize(frmDatabaseSui->layout()->totalSizeHint());
}
