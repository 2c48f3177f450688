#pragma once

#include <QString>

// A long text cut into paragraphs of at most `longest` characters, for a
// read-only view. A plain text view lays out a paragraph whole as soon as it
// is shown, and a paragraph without a place to break takes time that grows
// with the square of its length (a note of 1 MiB without a line break
// froze sign-in for minutes); short paragraphs are laid out only where they
// are seen. A cut falls at the last blank of the piece when there is one in
// its last quarter, so a note of words reads as before apart from a line
// ending early once in a long while. Shorter paragraphs stay as they are.
QString shortParagraphs(const QString& text, int longest = 4096);

// The most characters in a row without a blank or a line break.
qsizetype longestUnbrokenRun(const QString& text);
// Beyond this a text view breaks lines anywhere rather than looking for blanks.
inline constexpr qsizetype unbrokenRunLimit = 1000;
