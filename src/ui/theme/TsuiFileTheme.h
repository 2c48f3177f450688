#pragma once

#include <QObject>
#include <QString>

// The one theme of the program, "suiFileTheme" on the main window: the path
// of the theme file in force. A theme file is a Qt style sheet; setting one
// restyles every window of the program at once.
class TsuiFileTheme : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString ThemeFile READ themeFile WRITE setThemeFile)

public:
    TsuiFileTheme(const QString& applicationDir, QObject* owner);

    QString themeFile() const { return m_file; }
    // The same path again changes nothing. A path without a file takes the
    // file of the same name beside the program; without either, nothing
    // changes. A file that is no usable theme leaves the theme in force and
    // throws RydexError saying why.
    void setThemeFile(const QString& path);
    // The theme of the window or of one of its owners.
    static TsuiFileTheme* of(QObject* window);

signals:
    void themeChanged();

private:
    QString m_applicationDir;
    QString m_file;
};
