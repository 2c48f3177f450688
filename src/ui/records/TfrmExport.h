#pragma once

#include "store/RideFilter.h"
#include "toolkit/ThemedDialog.h"

#include <QDialog>
#include <array>
#include <functional>

class ADOTable;
class QLabel;
class QPushButton;
class QRadioButton;

// Export of the signed-in cyclist's rides for spreadsheets: the month shown,
// the year shown or all of them, written as a CSV file where the user says.
// It is made for one use of the command and shown modally.
class TfrmExport : public ThemedDialog
{
    Q_OBJECT

public:
    enum Scope { Month, Year, All };

    // monthCaption names the month shown as its tab does, in the language
    // shown; the rides are read through the table without changing its set.
    TfrmExport(ADOTable* table, const QString& cyclist, int year, int month,
               const QString& monthCaption, QWidget* parent = nullptr);

    // Counts the rides of each choice and picks the narrowest one that holds
    // a ride; the window is modal, so nothing changes them meanwhile. Throws
    // RydexError when the store cannot be read.
    void countRides();

    Scope scope() const;
    void setScope(Scope scope);
    // How many rides each choice holds, once counted.
    int rideCount(Scope scope) const { return m_counts[scope]; }

    // How the window asks where to write, given the suggested path; an empty
    // answer cancels. Tests answer in place of the user.
    std::function<QString(const QString& suggested)> chooseFile;

    // Writes the chosen rides where the user says; the window closes when
    // the file is whole, and stays open after an error, which is shown.
    void btnExportClick();
    // The file written and how many rides it holds, once written.
    QString writtenFile() const { return m_written; }
    int writtenRides() const { return m_writtenRides; }

    QLabel* lblScope = nullptr;
    QRadioButton* rbMonth = nullptr;
    QRadioButton* rbYear = nullptr;
    QRadioButton* rbAll = nullptr;
    QPushButton* btnExport = nullptr;
    QPushButton* btnClose = nullptr;

private:
    RideFilter filter(Scope scope) const;
    QString suggestedPath() const;
    void showChoices();

    QWidget* m_frame = nullptr;
    ADOTable* m_table;
    QString m_cyclist;
    int m_year;
    int m_month;
    QString m_monthCaption;
    std::array<int, 3> m_counts{};
    QString m_written;
    int m_writtenRides = 0;
};
