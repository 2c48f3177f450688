#pragma once

#include <QString>
#include <QStringList>

// Makes a new ride store at path whole or not at all: it is built under a
// temporary name beside path and renamed into place once complete, so a
// crash at any moment leaves either no store or a whole one, never a file
// that later starts refuse.
//
// statements build the store; they run in one transaction, in a file already
// in write-ahead-log mode. Answers false when
// another copy of the program put a store at path meanwhile (that one is
// left as it is). Throws RydexError (Store) when the store cannot be made.
bool buildNewStore(const QString& path, const QStringList& statements);
