#pragma once

#include "prefs/CyclistPreferences.h"
#include "prefs/PreferenceKey.h"

#include <QDate>
#include <QMetaObject>
#include <QString>
#include <functional>

class QObject;
class QWidget;
class TData;
class TfrmSettings;

// What the dialogs may ask of the main window: the sign-in state they read
// and the few changes of the month view they make. The dialogs know the main
// window only through this, so the main window's folder depends on theirs and
// never the other way round.
class MainWindowOperations
{
public:
    virtual ~MainWindowOperations() = default;

    // The window that owns the dialogs.
    virtual QWidget* ownerWindow() = 0;

    // Sign-in state.
    virtual QString cyclistName() const = 0;
    virtual PreferenceKey programKey() const = 0;
    virtual PreferenceKey cyclistsKey() const = 0;
    virtual CyclistPreferences cyclistPreferences() const = 0;
    virtual TData* dataModule() const = 0;
    virtual void setWorkingDate(const QDate& date) = 0;
    virtual TfrmSettings* settingsDialog() const = 0;

    // The application's hint, for the dialogs' status bars.
    virtual QString currentHint() const = 0;
    virtual QMetaObject::Connection connectHint(QObject* context,
                                                std::function<void(const QString&)> show) = 0;

    // Changes of the month view.
    virtual void showColumn(int position, bool shown) = 0;
    virtual void showChart(int index) = 0;
    virtual void showSignedOut() = 0;
    // The month view shown again, as a change of the month tab shows it.
    virtual void MesiceChange() = 0;
    virtual void AktualizaceMenu() = 0;
    virtual void openNewCyclistDialog() = 0;
    virtual void SpoctiAVS() = 0;
    virtual void afterRecordsChanged() = 0;
    // The main window's message that the ride store cannot be worked with.
    virtual void showStoreNotOpen() = 0;
};
