#include "app/RestoreChoice.h"

#include "backup/BackupContents.h"
#include "backup/BackupFile.h"
#include "base/MessageCatalogue.h"
#include "base/RydexError.h"
#include "toolkit/DialogPresenter.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
void listBackups(QTreeWidget& list, const QString& folder)
{
    const QLocale locale;
    const QFileInfoList files = QDir(folder).entryInfoList(
        {QLatin1Char('*') + QLatin1String(BackupFile::suffix)}, QDir::Files, QDir::Time);
    for (const QFileInfo& file : files) {
        auto* row = new QTreeWidgetItem(&list);
        row->setData(0, Qt::UserRole, file.absoluteFilePath());
        row->setToolTip(0, file.fileName());
        try {
            // Listing only: the full check comes when one is chosen.
            const BackupContents c = readBackup(file.absoluteFilePath(), false);
            QStringList cyclists;
            for (const BackupContents::Cyclist& cyclist : c.cyclists)
                cyclists << QStringLiteral("%1 (%2)").arg(cyclist.name).arg(cyclist.rides);
            row->setText(0, locale.toString(c.taken.toLocalTime(), QLocale::ShortFormat));
            row->setText(1, cyclists.join(QStringLiteral(", ")));
            row->setText(2, QString::number(c.rides));
        } catch (const RydexError&) {
            row->setText(0, file.fileName());
            row->setText(1, Msg::text(Msg::RestoreListUnreadable));
        }
    }
    if (list.topLevelItemCount() > 0)
        list.setCurrentItem(list.topLevelItem(0));
}
} // namespace

QString chooseBackupToRestore(QWidget* parent, const QString& folder)
{
    QDialog window(parent);
    window.setObjectName(QStringLiteral("RestoreChoice"));
    window.setWindowTitle(Msg::text(Msg::RestoreOpenCaption));
    auto* layout = new QVBoxLayout(&window);
    auto* list = new QTreeWidget(&window);
    list->setObjectName(QStringLiteral("lstBackups"));
    list->setRootIsDecorated(false);
    list->setHeaderLabels({Msg::text(Msg::RestoreColumnTaken),
                           Msg::text(Msg::RestoreColumnCyclists),
                           Msg::text(Msg::RestoreColumnRides)});
    list->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    list->header()->setStretchLastSection(false);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(&window);
    QPushButton* restore =
        buttons->addButton(Msg::text(Msg::RestoreButton), QDialogButtonBox::AcceptRole);
    QPushButton* other =
        buttons->addButton(Msg::text(Msg::RestoreOtherFile), QDialogButtonBox::ActionRole);
    other->setObjectName(QStringLiteral("btnOtherFile"));
    buttons->addButton(Msg::text(Msg::Cancel), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    listBackups(*list, folder);
    list->resizeColumnToContents(0);
    window.resize(640, 320);

    QString chosen;
    restore->setEnabled(list->currentItem() != nullptr);
    QObject::connect(list, &QTreeWidget::currentItemChanged, restore,
                     [restore](QTreeWidgetItem* item) { restore->setEnabled(item != nullptr); });
    QObject::connect(list, &QTreeWidget::itemDoubleClicked, &window, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    QObject::connect(other, &QPushButton::clicked, &window, [&window, &chosen, folder] {
        chosen = QFileDialog::getOpenFileName(&window, Msg::text(Msg::RestoreOpenCaption), folder,
                                              Msg::text(Msg::BackupFileFilter));
        if (!chosen.isEmpty())
            window.accept();
    });
    if (DialogPresenter::current().execModal(window) != QDialog::Accepted)
        return QString();
    if (chosen.isEmpty() && list->currentItem())
        chosen = list->currentItem()->data(0, Qt::UserRole).toString();
    return chosen;
}
