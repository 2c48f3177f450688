#pragma once

#include <QByteArray>

// The gzip form of `data`, as a training website's archive holds ride files.
QByteArray gzipped(const QByteArray& data);
