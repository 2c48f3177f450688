// "Back up..." and the automatic backups of the main window.
#include "app/TfrmBase.h"

#include "app/RestoreChoice.h"
#include "backup/AutoBackup.h"
#include "backup/BackupFile.h"
#include "backup/BackupRestore.h"
#include "base/AppIdentity.h"
#include "base/Clock.h"
#include "base/MessageCatalogue.h"
#include "base/RydexError.h"
#include "prefs/PreferenceStore.h"
#include "store/ADOConnection.h"
#include "store/RideRepository.h"
#include "store/TData.h"
#include "toolkit/DialogPresenter.h"
#include "toolkit/DocumentsFolder.h"
#include "toolkit/MessageDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLocale>
#include <QStatusBar>
#include <QThread>

namespace {
QString askForBackupFile(QWidget* parent, const QString& suggested)
{
    QFileDialog dialog(parent, Msg::text(Msg::BackupSaveCaption),
                       QFileInfo(suggested).absolutePath(), Msg::text(Msg::BackupFileFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString::fromLatin1(BackupFile::suffix).mid(1));
    dialog.selectFile(suggested);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString restoreQuestion(const BackupContents& c, int ridesNow, const QString& folder)
{
    const QLocale locale;
    QStringList cyclists;
    for (const BackupContents::Cyclist& cyclist : c.cyclists)
        cyclists << QStringLiteral("%1 (%2)").arg(cyclist.name).arg(cyclist.rides);
    return Msg::format(
        Msg::RestoreQuestion,
        {locale.toString(c.taken.toLocalTime(), QLocale::ShortFormat), QString::number(c.rides),
         locale.toString(c.firstRide, QLocale::ShortFormat),
         locale.toString(c.lastRide, QLocale::ShortFormat), cyclists.join(QStringLiteral(", ")),
         QString::number(ridesNow), QDir::toNativeSeparators(folder)});
}
} // namespace

void TfrmBase::mnuBackupClick()
{
    guarded([this] {
        if (!m_data)
            return;
        requireFileStore();
        if (!chooseBackupFile)
            chooseBackupFile = [this](const QString& suggested) {
                return askForBackupFile(this, suggested);
            };
        const QString target = chooseBackupFile(
            QDir(documentsFolder()).filePath(BackupFile::defaultName(Clock::today())));
        if (target.isEmpty())
            return;
        BackupFile::Extras extras;
        if (m_env.preferences)
            extras.preferences = BackupFile::readPreferences(m_env.preferences->filePath());
        extras.taken = QDateTime::currentDateTimeUtc();
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        try {
            ADOConnection* connection = m_data->connection();
            if (connection->isOpen())
                BackupFile::write(connection->database(), target, extras);
            else
                BackupFile::onReadOnlyConnection(
                    connection->filePath(),
                    [&](const QSqlDatabase& store) { BackupFile::write(store, target, extras); });
        } catch (...) {
            QGuiApplication::restoreOverrideCursor();
            throw;
        }
        QGuiApplication::restoreOverrideCursor();
        StatusBar->showMessage(Msg::format(Msg::BackupDone, {QDir::toNativeSeparators(target)}));
    });
}

void TfrmBase::requireFileStore() const
{
    // The commands write and replace files; a server's rides are kept by the
    // server's own backups, and its connection text is no file to replace.
    const StoreLocation location = m_data->connection()->location();
    if (location.isServer())
        throw RydexError(Msg::format(Msg::DatabaseServerBackup, {location.shown()}));
}

void TfrmBase::startAutomaticBackup()
{
    // Only a store this run opened and accepted: a refused file is never
    // looked at again.
    if (!m_data || !m_data->connection()->accepted() || m_data->connection()->location().isServer())
        return;
    // One still running (from a sign-out a moment ago) may have judged the
    // store before the latest change: it is waited for, not taken for this
    // one, or that change would wait a day for its backup.
    waitForAutomaticBackup();
    const AutoBackup backup(m_data->connection()->filePath(),
                            m_env.preferences ? m_env.preferences->filePath() : QString());
    const QDate today = Clock::today();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    auto failure = std::make_shared<QString>();
    m_automaticBackup.reset(QThread::create([backup, today, now, failure] {
        try {
            backup.runAlone(today, now);
        } catch (const RydexError& e) {
            *failure = e.text();
        }
    }));
    connect(m_automaticBackup.get(), &QThread::finished, this,
            [this, failure] { automaticBackupFinished(*failure); });
    m_automaticBackup->start(QThread::LowPriority);
}

void TfrmBase::automaticBackupFinished(const QString& failure)
{
    if (failure.isEmpty() || m_automaticBackupReported)
        return;
    m_automaticBackupReported = true;
    // After the window closed there is no one to show it to.
    if (isVisible())
        DialogPresenter::current().showError(failure);
    else
        qWarning("%s", qPrintable(failure));
}

void TfrmBase::waitForAutomaticBackup()
{
    if (m_automaticBackup)
        m_automaticBackup->wait();
}

void TfrmBase::mnuRestoreClick()
{
    guarded([this] {
        if (!m_data || !m_env.preferences)
            return;
        requireFileStore();
        ADOConnection* connection = m_data->connection();
        const AutoBackup automatic(connection->filePath(), m_env.preferences->filePath());
        if (!chooseRestoreFile)
            chooseRestoreFile = [this](const QString& folder) {
                return chooseBackupToRestore(this, folder);
            };
        const QString file = chooseRestoreFile(
            QFileInfo::exists(automatic.folder()) ? automatic.folder() : documentsFolder());
        if (file.isEmpty())
            return;
        const BackupContents contents = readBackup(file);
        int ridesNow = 0;
        if (connection->isOpen())
            ridesNow = RideRepository::count(connection->database());
        else if (QFileInfo::exists(connection->filePath()))
            BackupFile::onReadOnlyConnection(connection->filePath(), [&](const QSqlDatabase& db) {
                ridesNow = RideRepository::count(db);
            });
        MessageDialog question(QStringLiteral("RestoreQuestion"), this);
        question.setCaption(Msg::text(Msg::RestoreOpenCaption));
        question.setIconType(MessageDialog::Question);
        question.setButtonCount(2);
        question.setButton1Caption(Msg::text(Msg::RestoreButton));
        question.setButton2Caption(Msg::text(Msg::Cancel));
        question.setText(restoreQuestion(contents, ridesNow, automatic.folder()));
        if (!question.execute())
            return;
        leaveMonthView(Leaving::Restore);
        const RestoreResult result =
            restoreBackup(file, connection->filePath(), m_env.preferences->filePath(),
                          QDateTime::currentDateTimeUtc());
        AktualizaceMenu();
        StatusBar->showMessage(
            Msg::format(Msg::RestoreDone,
                        {QDir::toNativeSeparators(file), QDir::toNativeSeparators(result.before)}));
    });
}
