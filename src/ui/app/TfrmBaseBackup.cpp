// "Back up..." and the automatic backups of the main window.
#include "app/TfrmBase.h"

#include "backup/AutoBackup.h"
#include "backup/BackupFile.h"
#include "polyglot/MessageCatalogue.h"
#include "store/ADOConnection.h"
#include "store/Clock.h"
#include "store/PreferenceStore.h"
#include "store/RydexError.h"
#include "store/TData.h"
#include "toolkit/DialogPresenter.h"

#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QStandardPaths>
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
} // namespace

void TfrmBase::mnuBackupClick()
{
    guarded([this] {
        if (!m_data)
            return;
        if (!chooseBackupFile)
            chooseBackupFile = [this](const QString& suggested) {
                return askForBackupFile(this, suggested);
            };
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        const QString target =
            chooseBackupFile(QDir(documents).filePath(BackupFile::defaultName(Clock::today())));
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

void TfrmBase::startAutomaticBackup()
{
    // Only a store this run opened and accepted: a refused file is never
    // looked at again.
    if (!m_data || !m_data->connection()->accepted() ||
        (m_automaticBackup && m_automaticBackup->isRunning()))
        return;
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
