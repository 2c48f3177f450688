#pragma once

#include "prefs/PreferenceFormat.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

// The file behind a preference store, shared by the store and every key opened
// from it. Nothing is cached: every read parses the file afresh, every change
// is applied to the file's current content under a lock beside it and written
// by atomic replacement, so two programs writing different values lose none.
class PreferenceFile
{
public:
    explicit PreferenceFile(QString path);
    const QString& path() const { return m_path; }

    // The current content; of a damaged file what can still be read from it;
    // an empty tree when the file is missing or unreadable, so that readers
    // get their defaults.
    PreferenceFormat::Node read() const;
    // Applies change to the current content and writes the result. change
    // answers whether it changed anything. False when the file cannot be
    // written: a read-only file or directory, a lock that cannot be had, or a
    // damaged file whose content has not been kept aside by check().
    bool update(const std::function<bool(PreferenceFormat::Node&)>& change);
    // After update() failed: which file or folder could not be written, and
    // why, in words for the user.
    const QString& failure() const { return m_failure; }
    // Nothing when the file is fine or missing; otherwise the user's message.
    // A damaged file is first copied aside, then replaced by what could still
    // be read from it (the message says what was lost); a file that is not
    // ours at all is replaced by the next change.
    std::optional<QString> check();

private:
    struct Snapshot
    {
        enum Status { Missing, Fine, Damaged, Unreadable };
        Status status = Missing;
        PreferenceFormat::Node root;
        QStringList lost;
        QString reason;
    };
    Snapshot load() const;
    bool replace(const PreferenceFormat::Node& root);
    std::optional<QString> keepCopy(QByteArray* checksum, QString* failure) const;

    QString m_path;
    QString m_failure;
    // Checksum of the damaged content that check() kept aside.
    QByteArray m_keptDamage;
    // The bytes parsed last and what they gave.
    mutable std::optional<QByteArray> m_parsedBytes;
    mutable bool m_parsedDamaged = false;
    mutable PreferenceFormat::Node m_parsedRoot;
    mutable QStringList m_parsedLost;
};
