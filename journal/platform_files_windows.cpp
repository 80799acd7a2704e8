// The Windows bodies of platform_files.h. A folder is listed through Qt; files are placed and
// replaced by MoveFileExW, which either refuses a name taken or replaces it in one step.
#include "journal/platform_files.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <windows.h>

namespace {

QString lastErrorText() {
    return qt_error_string(int(GetLastError()));
}

std::int64_t nanosecondsOf(const QDateTime& time) {
    return time.isValid() ? time.toMSecsSinceEpoch() * 1'000'000 : -1;
}

// Moved with the data on the disk before the call returns.
bool moved(const QString& from, const QString& to, DWORD how) {
    return MoveFileExW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(from).utf16()),
                       reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(to).utf16()),
                       how | MOVEFILE_WRITE_THROUGH) != 0;
}

// No links are followed for the class: a link stands where only the teacher's file may.
QString whyNotTheTeachers(const QFileInfo& file) {
    if (file.isSymLink() || file.isShortcut() || file.isJunction())
        return QStringLiteral("это символьная ссылка");
    if (!file.isFile()) return QStringLiteral("это не обычный файл");
    return {};
}

} // namespace

QString loginName() {
    wchar_t name[256 + 1];
    DWORD size = DWORD(std::size(name));
    if (GetUserNameW(name, &size) && size > 1) return QString::fromWCharArray(name, int(size) - 1);
    return qEnvironmentVariable("USERNAME", QStringLiteral("?"));
}

QString userNameOf(unsigned) {
    return {};
}

Placed placeNewFile(const QString& aside, const QString& path, QString& problem) {
    if (moved(aside, path, 0)) return Placed::yes;
    const DWORD error = GetLastError();
    QFile::remove(aside);
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) return Placed::nameTaken;
    problem = qt_error_string(int(error));
    return Placed::failed;
}

QString syncToDisk(QFileDevice&) {
    // QSaveFile's commit flushes the file to the disk (FlushFileBuffers) before it moves it.
    return {};
}

QString replaceFile(const QString& from, const QString& to) {
    return moved(from, to, MOVEFILE_REPLACE_EXISTING) ? QString() : lastErrorText();
}

QString publishTeachersFile(QFileDevice& file) {
    // Who may read it is the folder's to say (its inherited permissions); only the disk is asked.
    return file.flush() ? QString() : file.errorString();
}

TeachersFile readTeachersFile(const QString&, const QString& path, qint64 largest) {
    TeachersFile read;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        read.missing = true;
        return read;
    }
    read.notTheTeachers = whyNotTheTeachers(info);
    if (!read.notTheTeachers.isEmpty()) return read;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        read.unreadable = file.errorString();
        return read;
    }
    read.text = file.read(largest);
    return read;
}

bool notTheTeachersAt(const QString&, const QString& path) {
    const QFileInfo info(path);
    return (info.exists() || info.isSymLink()) && !whyNotTheTeachers(info).isEmpty();
}

JournalFolder::JournalFolder(const QString& folder) : path(folder) {
    const QFileInfo info(path);
    if (!info.exists()) {
        state = Opened::missing;
        why = qt_error_string(ERROR_PATH_NOT_FOUND);
    } else if (!info.isDir()) {
        why = qt_error_string(ERROR_DIRECTORY);
    } else if (!info.isReadable()) {
        state = Opened::denied;
    } else {
        state = Opened::yes;
    }
}

JournalFolder::~JournalFolder() = default;

std::optional<JournalFolder::Stamp> JournalFolder::stamp() const {
    // A folder's time on Windows does not always move when a file in it is rewritten: the
    // listing is looked into every time.
    return std::nullopt;
}

std::optional<std::vector<std::string>> JournalFolder::fileNames(const char* except) {
    QDir folder(path);
    folder.setFilter(QDir::Files | QDir::Hidden | QDir::System);
    const QFileInfoList entries = folder.entryInfoList();
    if (entries.isEmpty() && !folder.isReadable()) {
        state = Opened::denied;
        why = qt_error_string(ERROR_ACCESS_DENIED);
        return std::nullopt;
    }
    std::vector<std::string> files;
    for (const QFileInfo& entry : entries) {
        const QByteArray name = QFile::encodeName(entry.fileName());
        if (name.startsWith('.') || name == except) continue;
        files.push_back(name.toStdString());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::optional<JournalFolder::Times> JournalFolder::times(const std::string& name) const {
    const QFileInfo info(QDir(path).filePath(QFile::decodeName(name.c_str())));
    if (!info.exists()) return std::nullopt;
    return Times{info.size(), nanosecondsOf(info.lastModified())};
}

JournalFolder::Read JournalFolder::read(const std::string& name, std::int64_t largest,
                                        QByteArray& buffer) const {
    Read file;
    QFile opened(QDir(path).filePath(QFile::decodeName(name.c_str())));
    if (!opened.open(QIODevice::ReadOnly)) {
        file.gone = !opened.exists();
        file.denied = !file.gone;
        file.unreadable = QStringLiteral("не читается: ") + opened.errorString();
        return file;
    }
    file.size = opened.size();
    file.mtimeNs = nanosecondsOf(opened.fileTime(QFileDevice::FileModificationTime));
    if (file.size > largest) return file;
    buffer = opened.read(largest + 1);
    if (opened.error() != QFileDevice::NoError) {
        file.unreadable = QStringLiteral("не читается: ") + opened.errorString();
        return file;
    }
    file.bytes = buffer;
    return file;
}

std::int64_t JournalFolder::nowNs() {
    return QDateTime::currentMSecsSinceEpoch() * 1'000'000;
}
