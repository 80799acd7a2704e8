// The POSIX bodies of platform_files.h.
#include "journal/platform_files.h"

#include <QFile>
#include <QFileDevice>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace {

std::int64_t nanosecondsOf(const timespec& t) {
    return std::int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec;
}

QString errnoText() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool isDenied(int error) {
    return error == EACCES || error == EPERM;
}

QString unreadable(int error) {
    return QStringLiteral("не читается: ") + qt_error_string(error);
}

// Why a file may not be the teacher's; empty when it is.
QString whyNotTheTeachers(const struct stat& file, const struct stat& folder) {
    if (S_ISLNK(file.st_mode)) return QStringLiteral("это символьная ссылка");
    if (!S_ISREG(file.st_mode)) return QStringLiteral("это не обычный файл");
    if (file.st_uid != folder.st_uid && file.st_uid != 0) {
        const auto nameOf = [](uid_t uid) {
            const QString name = userNameOf(QString::number(uid));
            return name.isEmpty() ? QString::number(uid) : name;
        };
        return QStringLiteral("его записал %1, а не владелец папки %2")
            .arg(nameOf(file.st_uid), nameOf(folder.st_uid));
    }
    if (file.st_mode & (S_IWGRP | S_IWOTH))
        return QStringLiteral("его могут изменить и другие пользователи");
    return {};
}

// Reads the whole file, up to one byte more than `largest`, into `buffer`; nothing on a read
// error (errno says).
std::optional<QByteArray> bytesOf(int fd, std::int64_t size, std::int64_t largest,
                                  QByteArray& buffer) {
    const auto wanted = qsizetype(std::clamp<std::int64_t>(size + 1, 4096, largest + 1));
    if (buffer.size() < wanted) buffer.resize(wanted);
    qsizetype total = 0;
    while (true) {
        const ssize_t got = ::read(fd, buffer.data() + total, std::size_t(buffer.size() - total));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        total += got;
        if (total < buffer.size()) {
            if (total >= size) break; // short of the buffer at the size the file had: its end
            continue;
        }
        if (total > largest) break;
        buffer.resize(std::min<qsizetype>(buffer.size() * 2, largest + 1));
    }
    return QByteArray::fromRawData(buffer.constData(), total);
}

} // namespace

QString loginName() {
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER", QStringLiteral("?"));
}

QString userNameOf(const QString& owner) {
    bool isNumber = false;
    const uid_t uid = owner.toUInt(&isNumber);
    if (!isNumber) return {};
    passwd pw{};
    passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(uid, &pw, buffer, sizeof buffer, &found) == 0 && found && pw.pw_name)
        return QString::fromLocal8Bit(pw.pw_name);
    return {};
}

// Renamed into place only where no file has that name (EEXIST otherwise). Where the file system
// cannot rename so, a hard link places it as safely; only where it has no hard links either is
// the name looked up first. (QFile::rename is no help: a name taken between its own look-up
// and rename is written over by its copy.)
Placed placeNewFile(const QString& asideName, const QString& pathName, QString& problem) {
    const QByteArray asideBytes = QFile::encodeName(asideName);
    const QByteArray pathBytes = QFile::encodeName(pathName);
    const char* aside = asideBytes.constData();
    const char* path = pathBytes.constData();
    const auto placed = [&]() -> int {
        if (::renameat2(AT_FDCWD, aside, AT_FDCWD, path, RENAME_NOREPLACE) == 0) return 0;
        if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return -1;
        if (::link(aside, path) == 0) {
            ::unlink(aside); // the run is in place; an aside left behind is hidden and harmless
            return 0;
        }
        if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS) return -1;
        if (::access(path, F_OK) == 0) {
            errno = EEXIST;
            return -1;
        }
        return ::rename(aside, path);
    };
    if (placed() == 0) return Placed::yes;
    const int saved = errno;
    ::unlink(aside);
    if (saved == EEXIST) return Placed::nameTaken;
    errno = saved;
    problem = errnoText();
    return Placed::failed;
}

QString syncToDisk(QFileDevice& file) {
    // QSaveFile syncs as well but passes over a failed sync: a file the disk refused is not kept.
    return ::fsync(file.handle()) == 0 ? QString() : errnoText();
}

QString replaceFile(const QString& from, const QString& to) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return qt_error_string(errno);
    return {};
}

QString publishTeachersFile(QFileDevice& file) {
    // Readable by the pupils whatever the teacher's umask; a planted file's mode is not kept.
    if (::fchmod(file.handle(), 0644) != 0 || ::fsync(file.handle()) != 0)
        return qt_error_string(errno);
    return {};
}

// Judged and read through one descriptor, opened without following a link: the file judged is
// the file read.
TeachersFile readTeachersFile(const QString& folder, const QString& path, qint64 largest) {
    TeachersFile read;
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        read.missing = true;
        return read;
    }
    if (fd < 0 && errno == ELOOP) {
        read.notTheTeachers = QStringLiteral("это символьная ссылка");
        return read;
    }
    if (fd < 0) {
        read.unreadable = qt_error_string(errno);
        return read;
    }
    QFile opened;
    opened.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    struct stat file {};
    struct stat dir {};
    if (::fstat(fd, &file) != 0 || ::stat(QFile::encodeName(folder).constData(), &dir) != 0) {
        read.unreadable = qt_error_string(errno);
        return read;
    }
    read.notTheTeachers = whyNotTheTeachers(file, dir);
    if (read.notTheTeachers.isEmpty()) read.text = opened.read(largest);
    return read;
}

bool notTheTeachersAt(const QString& folder, const QString& path) {
    struct stat file {};
    struct stat dir {};
    return ::lstat(QFile::encodeName(path).constData(), &file) == 0 &&
           ::stat(QFile::encodeName(folder).constData(), &dir) == 0 &&
           !whyNotTheTeachers(file, dir).isEmpty();
}

JournalFolder::JournalFolder(const QString& folder) : path(folder) {
    fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        state = Opened::yes;
        return;
    }
    const int error = errno;
    state = error == EACCES ? Opened::denied : error == ENOENT ? Opened::missing : Opened::failed;
    why = qt_error_string(error);
}

JournalFolder::~JournalFolder() {
    if (listing)
        ::closedir(static_cast<DIR*>(listing));
    else if (fd >= 0)
        ::close(fd);
}

std::optional<JournalFolder::Stamp> JournalFolder::stamp() const {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return std::nullopt;
    return Stamp{st.st_dev, st.st_ino, nanosecondsOf(st.st_mtim)};
}

std::optional<std::vector<std::string>> JournalFolder::fileNames(const char* except) {
    if (!listing) listing = ::fdopendir(fd);
    DIR* folder = static_cast<DIR*>(listing);
    if (!folder) {
        why = qt_error_string(errno);
        return std::nullopt;
    }
    struct Name {
        std::string name;
        unsigned char type;
    };
    std::vector<Name> names;
    errno = 0;
    while (const dirent* e = ::readdir(folder)) {
        if (e->d_name[0] != '.' && std::strcmp(e->d_name, except) != 0)
            names.push_back({e->d_name, e->d_type});
        errno = 0;
    }
    if (errno != 0) {
        why = qt_error_string(errno);
        return std::nullopt;
    }
    std::sort(names.begin(), names.end(),
              [](const Name& a, const Name& b) { return a.name < b.name; });
    std::vector<std::string> files;
    for (Name& n : names) {
        // A file, or a link to one; a link's or an unknown type's target looked at.
        bool file = n.type == DT_REG;
        if (n.type == DT_LNK || n.type == DT_UNKNOWN) {
            struct stat st {};
            file = ::fstatat(fd, n.name.c_str(), &st, 0) == 0 && S_ISREG(st.st_mode);
        }
        if (file) files.push_back(std::move(n.name));
    }
    return files;
}

std::optional<JournalFolder::Times> JournalFolder::times(const std::string& name) const {
    struct stat st {};
    if (::fstatat(fd, name.c_str(), &st, 0) != 0) return std::nullopt;
    return Times{st.st_size, nanosecondsOf(st.st_mtim)};
}

JournalFolder::Read JournalFolder::read(const std::string& name, std::int64_t largest,
                                        QByteArray& buffer) const {
    Read file;
    const int file_fd = ::openat(fd, name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (file_fd < 0) {
        file.gone = errno == ENOENT;
        file.denied = isDenied(errno);
        file.unreadable = unreadable(errno);
        return file;
    }
    struct stat st {};
    const bool known = ::fstat(file_fd, &st) == 0;
    // One too large is never read: its size alone tells.
    if (known && st.st_size <= largest) file.bytes = bytesOf(file_fd, st.st_size, largest, buffer);
    const int error = errno;
    ::close(file_fd);
    if (known) {
        file.size = st.st_size;
        file.mtimeNs = nanosecondsOf(st.st_mtim);
        file.owner = QString::number(st.st_uid);
    }
    if (!(known && st.st_size > largest) && !file.bytes) file.unreadable = unreadable(error);
    return file;
}

std::int64_t JournalFolder::nowNs() {
    timespec t{};
    ::clock_gettime(CLOCK_REALTIME, &t);
    return nanosecondsOf(t);
}
