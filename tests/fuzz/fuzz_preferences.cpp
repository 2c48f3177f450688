// The preference-file reader over any bytes: no crash; what it reads, of a
// damaged file too, is written back in a form that reads the same and writes
// the same, and the store's file reader sees what the format reader sees.

#include "FuzzSupport.h"

#include "prefs/PreferenceFile.h"
#include "prefs/PreferenceFormat.h"

#include <QFile>
#include <QTemporaryDir>

namespace {
void checkNames(const PreferenceFormat::Node& node)
{
    for (const PreferenceFormat::Node& child : node.children) {
        const QString encoded = PreferenceFormat::encodeKeyName(child.name);
        FUZZ_CHECK(PreferenceFormat::decodeKeyName(encoded) == child.name, child.name);
        checkNames(child);
    }
}

QString filePath()
{
    static QTemporaryDir folder;
    return folder.filePath(QStringLiteral("Rydex 2005.conf"));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const PreferenceFormat::Parsed parsed = PreferenceFormat::parse(bytes);
    // What a damaged file still gives is written back the same way.
    checkNames(parsed.root);
    const QByteArray written = PreferenceFormat::serialize(parsed.root);
    const PreferenceFormat::Parsed again = PreferenceFormat::parse(written);
    FUZZ_CHECK(!again.damaged, QString::fromUtf8(written));
    FUZZ_CHECK(PreferenceFormat::serialize(again.root) == written, QString::fromUtf8(written));
    FUZZ_CHECK(parsed.damaged || parsed.lost.isEmpty(), QString::fromUtf8(bytes));

    // The store's reader, over the same bytes in a file: what it reads is
    // the parsed content, of a damaged file what could be read.
    QFile file(filePath());
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate), file.errorString());
    FUZZ_CHECK(file.write(bytes) == bytes.size(), file.errorString());
    file.close();
    const PreferenceFormat::Node read = PreferenceFile(filePath()).read();
    FUZZ_CHECK(PreferenceFormat::serialize(read) == written, QString::fromUtf8(bytes));
    return 0;
}
