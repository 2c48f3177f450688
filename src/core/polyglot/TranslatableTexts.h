#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

// The texts of a window that a language file translates, as the entries of
// its section: the window's caption, and the captions, hints, messages, list
// items, tabs and column titles of every component it owns. A component
// Empty texts and lists have nothing to translate and are left out, and so
// are the own texts of an object marked with the dynamic property
// "translatable" = false (a label that shows a computed figure, a title that
// names the signed-in cyclist). Used to write a language file of the
// program's own texts and to check that a file names all of them.
namespace TranslatableTexts {

struct Entry
{
    QString key;       // "Label1.Caption", "Mesice.Tabs.Strings", ...
    QString value;     // written as the language file writes it
    QStringList lines; // the text, or the list's items
};

QList<Entry> collect(QObject* window);

// 'it''s', with character codes for line breaks and other control codes.
QString encodeTextLiteral(const QString& text);
// Items separated by ",", each quoted.
QString encodeListValue(const QStringList& items);

} // namespace TranslatableTexts
