#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QLocale>
#include <QString>
#include <QStringView>

// The single-byte (or, for East Asian languages, double-byte) Windows code page
// in which language files were written for the program's first platform. A
// file that is not UTF-8 is read in the code page of the user's locale, and a
// character code "#232" of a text always means a byte of that code page, so
// that a file converted to UTF-8 shows the same texts as the original.
class WindowsCodePage
{
public:
    explicit WindowsCodePage(int number) : m_number(number) {}
    // 1250 for Czech and the other Central European languages, 1251 for
    // Cyrillic ones and so on; 1252 for every language without a code page of
    // its own.
    static WindowsCodePage forLocale(const QLocale& locale);

    int number() const { return m_number; }

    // A byte that has no character in the code page becomes the character with
    // the byte's code, so that nothing is dropped and encode() gives it back.
    QString decode(QByteArrayView bytes) const;
    // A character the code page cannot hold becomes "?".
    QByteArray encode(QStringView text) const;

private:
    int m_number;
};
