#pragma once

#include <QFileInfo>
#include <QString>
#include <optional>

// The folders the program makes for its files are its owner's alone (0700),
// like the files in them.
namespace PrivateFolder {
// Creates dirPath and any missing folder above it, owner-only. Nothing when
// the folder is there afterwards; otherwise why not, in the system's words.
std::optional<QString> create(const QString& dirPath);

// Whether the program may write there. The owner's write bit counts as well,
// so that a file or folder its owner made read-only stays so for a program
// run by root.
bool writable(const QFileInfo& info);

// Flushes the folder's list of names to disc, so that a file renamed into it
// is found there after a power cut.
void sync(const QString& dirPath);
} // namespace PrivateFolder
