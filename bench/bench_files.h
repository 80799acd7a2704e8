// Writing many run files fast, for the benchmarks that fill a folder: one open, write and close
// each, none of QFile's buffering.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstddef>
#include <fcntl.h>
#include <unistd.h>

namespace bench {

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    const bool whole = ::write(fd, bytes.constData(), std::size_t(bytes.size())) == bytes.size();
    return ::close(fd) == 0 && whole;
}

} // namespace bench
