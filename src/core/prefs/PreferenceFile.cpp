#include "prefs/PreferenceFile.h"

#include "base/MessageCatalogue.h"
#include "base/PrivateFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

using PreferenceFormat::Node;

namespace {
constexpr QFileDevice::Permissions ownerOnlyFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
// Far above any real preference file; a bigger file is not ours, and reading
// it whole on every preference read would be ruinous.
constexpr qint64 maxFileSize = 4 * 1024 * 1024;
// Another program holds the lock only for the few milliseconds of one write.
constexpr int lockWaitMs = 5000;

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

std::optional<QByteArray> checksumOf(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&f) || f.error() != QFileDevice::NoError)
        return std::nullopt;
    return hash.result();
}
} // namespace

// ---------------------------------------------------------------------------
// The file on disk

PreferenceFile::PreferenceFile(QString path) : m_path(std::move(path)) {}

PreferenceFile::Snapshot PreferenceFile::load() const
{
    Snapshot s;
    const QFileInfo info(m_path);
    if (!info.exists())
        return s;
    s.status = Snapshot::Unreadable;
    // Not opened at all: a directory fails, and a pipe would block forever.
    if (!info.isFile()) {
        s.reason = Msg::text(Msg::NotARegularFile);
        return s;
    }
    // Judged by the permission bits as well, so that a file its owner made
    // unreadable stays so for a program run by root.
    if (!info.permissions().testFlag(QFileDevice::ReadOwner)) {
        s.reason = systemError(EACCES);
        return s;
    }
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly)) {
        s.reason = f.errorString();
        return s;
    }
    const QByteArray bytes = f.read(maxFileSize + 1);
    if (f.error() != QFileDevice::NoError) {
        s.reason = f.errorString();
        return s;
    }
    if (bytes.size() > maxFileSize) {
        s.status = Snapshot::Damaged;
        return s;
    }
    // An empty file holds nothing that could be lost.
    if (bytes.trimmed().isEmpty()) {
        s.status = Snapshot::Fine;
        return s;
    }
    // The file is read every time; only parsing the very same bytes again
    // is spared (a sign-in reads some twenty values in a row).
    if (m_parsedBytes && bytes == *m_parsedBytes) {
        s.status = m_parsedDamaged ? Snapshot::Damaged : Snapshot::Fine;
        s.root = m_parsedRoot;
        s.lost = m_parsedLost;
        return s;
    }
    PreferenceFormat::Parsed parsed = PreferenceFormat::parse(bytes);
    s.status = parsed.damaged ? Snapshot::Damaged : Snapshot::Fine;
    s.root = std::move(parsed.root);
    s.lost = std::move(parsed.lost);
    m_parsedBytes = bytes;
    m_parsedDamaged = parsed.damaged;
    m_parsedRoot = s.root;
    m_parsedLost = s.lost;
    return s;
}

Node PreferenceFile::read() const
{
    return load().root;
}

namespace {
// The folder that stood in the way of creating dirPath: the nearest one that
// exists, so that the user learns where to look.
QString nearestExisting(const QString& dirPath)
{
    QString p = QDir::cleanPath(dirPath);
    while (!QFileInfo::exists(p) && QFileInfo(p).path() != p)
        p = QFileInfo(p).path();
    return p;
}
} // namespace

bool PreferenceFile::update(const std::function<bool(Node&)>& change)
{
    m_failure.clear();
    const QFileInfo info(m_path);
    const QString dir = info.absolutePath();
    const QString shownDir = QDir::toNativeSeparators(dir);
    const QString shownFile = QDir::toNativeSeparators(m_path);
    const auto fail = [this](int id, const QStringList& args) {
        m_failure = Msg::format(id, args);
        return false;
    };
    if (PrivateFolder::create(dir))
        return fail(Msg::PreferenceFolderNotWritable,
                    {QDir::toNativeSeparators(nearestExisting(dir)), shownFile});
    // The owner's write bits decide, not only the system: a read-only file or
    // directory stays untouched even by a program run as root.
    if (!QFileInfo(dir).permissions().testFlag(QFileDevice::WriteOwner))
        return fail(Msg::PreferenceFolderNotWritable, {shownDir, shownFile});
    if (info.exists() && !info.permissions().testFlag(QFileDevice::WriteOwner))
        return fail(Msg::PreferenceFileNotWritable, {shownFile, systemError(EACCES)});

    // A change that the file already holds needs no lock: taking one writes
    // the lock file and waits for the disc. Whatever another program writes
    // afterwards it could as well have written after our change.
    {
        Snapshot peek = load();
        if (peek.status == Snapshot::Fine && !change(peek.root))
            return true;
    }

    QLockFile lock(m_path + QStringLiteral(".lock"));
    if (!lock.tryLock(lockWaitMs))
        return fail(Msg::PreferenceFileLocked,
                    {shownFile, QDir::toNativeSeparators(m_path + QStringLiteral(".lock"))});

    Snapshot current = load();
    switch (current.status) {
    case Snapshot::Missing:
    case Snapshot::Fine:
        break;
    case Snapshot::Unreadable:
        return fail(Msg::PreferencesUnreadable, {shownFile, current.reason});
    case Snapshot::Damaged:
        // Only a damaged content that check() kept a copy of may be replaced,
        // and by what could still be read from it.
        if (m_keptDamage.isEmpty() || checksumOf(m_path) != m_keptDamage)
            return fail(Msg::PreferenceFileDamagedKept, {shownFile});
        break;
    }
    if (!change(current.root))
        return true;
    return replace(current.root);
}

bool PreferenceFile::replace(const Node& root)
{
    QSaveFile out(m_path);
    const auto fail = [&] {
        m_failure = Msg::format(Msg::PreferenceFileNotWritable,
                                {QDir::toNativeSeparators(m_path), out.errorString()});
        return false;
    };
    if (!out.open(QIODevice::WriteOnly))
        return fail();
    out.setPermissions(ownerOnlyFile);
    const QByteArray bytes = PreferenceFormat::serialize(root);
    if (out.write(bytes) != bytes.size() || !out.commit())
        return fail();
    m_keptDamage.clear();
    return true;
}

std::optional<QString> PreferenceFile::keepCopy(QByteArray* checksum, QString* failure) const
{
    const std::optional<QByteArray> original = checksumOf(m_path);
    if (!original) {
        *failure = QFile(m_path).errorString();
        return std::nullopt;
    }
    const bool dirWritable =
        QFileInfo(QFileInfo(m_path).absolutePath()).permissions().testFlag(QFileDevice::WriteOwner);
    for (int n = 1; n < 1000; ++n) {
        const QString name = m_path + QStringLiteral(".damaged-") + QString::number(n);
        if (QFileInfo::exists(name)) {
            // A second look at the same damage (another start, another copy of
            // the program) reuses the copy kept the first time.
            if (checksumOf(name) == original) {
                *checksum = *original;
                return name;
            }
            continue;
        }
        if (!dirWritable) {
            *failure = systemError(EACCES);
            return std::nullopt;
        }
        QFile in(m_path);
        QFile copy(name);
        if (!in.open(QIODevice::ReadOnly)) {
            *failure = in.errorString();
            return std::nullopt;
        }
        if (!copy.open(QIODevice::WriteOnly | QIODevice::NewOnly, ownerOnlyFile)) {
            if (QFileInfo::exists(name))
                continue;
            *failure = copy.errorString();
            return std::nullopt;
        }
        QCryptographicHash hash(QCryptographicHash::Sha256);
        while (!in.atEnd()) {
            const QByteArray chunk = in.read(64 * 1024);
            if (in.error() != QFileDevice::NoError || copy.write(chunk) != chunk.size()) {
                *failure =
                    in.error() != QFileDevice::NoError ? in.errorString() : copy.errorString();
                copy.remove();
                return std::nullopt;
            }
            hash.addData(chunk);
        }
        if (!copy.flush()) {
            *failure = copy.errorString();
            copy.remove();
            return std::nullopt;
        }
        // The copy keeps the damaged file's time as well, which tells the
        // user when it was last written.
        copy.setFileTime(QFileInfo(m_path).lastModified(), QFileDevice::FileModificationTime);
        *checksum = hash.result();
        return name;
    }
    *failure = systemError(EEXIST);
    return std::nullopt;
}

std::optional<QString> PreferenceFile::check()
{
    const Snapshot s = load();
    const QString shown = QDir::toNativeSeparators(m_path);
    switch (s.status) {
    case Snapshot::Missing:
    case Snapshot::Fine:
        return std::nullopt;
    case Snapshot::Unreadable:
        return Msg::format(Msg::PreferencesUnreadable, {shown, s.reason});
    case Snapshot::Damaged:
        break;
    }
    QString failure;
    QByteArray checksum;
    const std::optional<QString> kept = keepCopy(&checksum, &failure);
    if (!kept)
        return Msg::format(Msg::PreferencesNotKept, {shown, failure});
    m_keptDamage = checksum;
    const QString keptShown = QDir::toNativeSeparators(*kept);
    if (s.lost.isEmpty())
        return Msg::format(Msg::PreferencesDamaged, {shown, keptShown});
    // What could be read goes back into the file at once, so the next start
    // finds it whole; should that fail, reads still give it and the next
    // change writes it.
    update([](Node&) { return true; });
    // A file damaged throughout would make a message nobody can read.
    constexpr qsizetype listed = 10;
    QStringList lost = s.lost.mid(0, listed);
    if (s.lost.size() > listed)
        lost.append(QStringLiteral("…"));
    return Msg::format(Msg::PreferencesSalvaged,
                       {shown, keptShown, lost.join(QStringLiteral("; "))});
}
