// The Windows bodies of platform_files.h. A folder is listed through Qt; files are placed and
// replaced by MoveFileExW, which either refuses a name taken or replaces it in one step. Owners
// are accounts' SIDs, shown by name where Windows knows one.
#include "journal/platform_files.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <io.h>
#include <memory>
#include <string>
#include <windows.h>
// after windows.h
#include <aclapi.h>
#include <sddl.h>

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

const wchar_t* nativePath(const QString& path, std::wstring& kept) {
    kept = QDir::toNativeSeparators(path).toStdWString();
    return kept.c_str();
}

// A security descriptor Windows allocated, with the owner and the permissions in it.
struct Security {
    PSID owner = nullptr;
    PACL permissions = nullptr;
    std::unique_ptr<void, decltype(&LocalFree)> descriptor{nullptr, &LocalFree};
    DWORD error = ERROR_SUCCESS;
};

Security securityOf(HANDLE file) {
    Security s;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    s.error = GetSecurityInfo(file, SE_FILE_OBJECT,
                              OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &s.owner,
                              nullptr, &s.permissions, nullptr, &descriptor);
    s.descriptor.reset(descriptor);
    return s;
}

Security securityOf(const QString& path) {
    Security s;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    std::wstring kept;
    s.error =
        GetNamedSecurityInfoW(nativePath(path, kept), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION,
                              &s.owner, nullptr, nullptr, nullptr, &descriptor);
    s.descriptor.reset(descriptor);
    return s;
}

QString sidText(PSID sid) {
    wchar_t* text = nullptr;
    if (!sid || !ConvertSidToStringSidW(sid, &text)) return {};
    const QString sidString = QString::fromWCharArray(text);
    LocalFree(text);
    return sidString;
}

QString accountName(PSID sid) {
    wchar_t name[256], domain[256];
    DWORD nameSize = DWORD(std::size(name)), domainSize = DWORD(std::size(domain));
    SID_NAME_USE use;
    if (!LookupAccountSidW(nullptr, sid, name, &nameSize, domain, &domainSize, &use)) return {};
    return QString::fromWCharArray(name, int(nameSize));
}

QString shownName(PSID sid) {
    const QString name = accountName(sid);
    return name.isEmpty() ? sidText(sid) : name;
}

// The machine's own administration, which may write anything anywhere: like root elsewhere.
bool isAdministration(PSID sid) {
    return IsWellKnownSid(sid, WinBuiltinAdministratorsSid) ||
           IsWellKnownSid(sid, WinLocalSystemSid);
}

// Why a file (opened without following a link) may not be the teacher's: written by someone
// other than the folder's owner or the administration, or changeable by others than those.
QString whyNotTheTeachers(HANDLE file, const QString& folder) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info)) return lastErrorText();
    if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return QStringLiteral("это символьная ссылка");
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return QStringLiteral("это не обычный файл");
    const Security written = securityOf(file);
    const Security dir = securityOf(folder);
    if (written.error != ERROR_SUCCESS || dir.error != ERROR_SUCCESS)
        return QStringLiteral("не видно, кто его записал: ") +
               qt_error_string(int(written.error != ERROR_SUCCESS ? written.error : dir.error));
    if (!EqualSid(written.owner, dir.owner) && !isAdministration(written.owner))
        return QStringLiteral("его записал %1, а не владелец папки %2")
            .arg(shownName(written.owner), shownName(dir.owner));
    // No list at all lets everybody do everything.
    if (!written.permissions) return QStringLiteral("его могут изменить и другие пользователи");
    constexpr ACCESS_MASK changes =
        FILE_WRITE_DATA | FILE_APPEND_DATA | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;
    for (DWORD i = 0; i < written.permissions->AceCount; ++i) {
        void* entry = nullptr;
        if (!GetAce(written.permissions, i, &entry)) continue;
        const auto* header = static_cast<const ACE_HEADER*>(entry);
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE))
            continue;
        const auto* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(entry);
        PSID who = const_cast<DWORD*>(&allowed->SidStart);
        if ((allowed->Mask & changes) && !EqualSid(who, written.owner) && !isAdministration(who))
            return QStringLiteral("его могут изменить и другие пользователи");
    }
    return {};
}

// Opened as it is: a link is opened itself, not followed, and a folder opens too.
HANDLE openUnfollowed(const QString& path, DWORD access) {
    std::wstring kept;
    return CreateFileW(
        nativePath(path, kept), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

struct HandleCloser {
    void operator()(HANDLE h) const {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};
using Handle = std::unique_ptr<void, HandleCloser>;

} // namespace

QString loginName() {
    wchar_t name[256 + 1];
    DWORD size = DWORD(std::size(name));
    if (GetUserNameW(name, &size) && size > 1) return QString::fromWCharArray(name, int(size) - 1);
    return qEnvironmentVariable("USERNAME", QStringLiteral("?"));
}

QString userNameOf(const QString& owner) {
    PSID sid = nullptr;
    if (!ConvertStringSidToSidW(reinterpret_cast<const wchar_t*>(owner.utf16()), &sid)) return {};
    const QString name = accountName(sid);
    LocalFree(sid);
    return name;
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

// Permissions of its own, not the folder's inherited ones (which let the pupils create files
// and the teachers change them): its owner and the administration change it, everybody reads
// it. A move within the volume keeps them, so a file replaced needs no new grant.
QString publishTeachersFile(QFileDevice& file) {
    if (!file.flush()) return file.errorString();
    const Security made = securityOf(file.fileName());
    if (made.error != ERROR_SUCCESS) return qt_error_string(int(made.error));
    const std::wstring rules = QStringLiteral("D:P(A;;FA;;;%1)(A;;FA;;;BA)(A;;FA;;;SY)(A;;FR;;;WD)")
                                   .arg(sidText(made.owner))
                                   .toStdWString();
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(rules.c_str(), SDDL_REVISION_1,
                                                              &descriptor, nullptr))
        return lastErrorText();
    BOOL present = FALSE, defaulted = FALSE;
    PACL permissions = nullptr;
    GetSecurityDescriptorDacl(descriptor, &present, &permissions, &defaulted);
    std::wstring kept;
    const DWORD error = SetNamedSecurityInfoW(
        const_cast<wchar_t*>(nativePath(file.fileName(), kept)), SE_FILE_OBJECT,
        DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
        permissions, nullptr);
    LocalFree(descriptor);
    return error == ERROR_SUCCESS ? QString() : qt_error_string(int(error));
}

// Judged and read through one handle: the file judged is the file read.
TeachersFile readTeachersFile(const QString& folder, const QString& path, qint64 largest) {
    TeachersFile read;
    const Handle file(openUnfollowed(path, GENERIC_READ));
    if (file.get() == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        read.missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        if (!read.missing) read.unreadable = qt_error_string(int(error));
        return read;
    }
    read.notTheTeachers = whyNotTheTeachers(file.get(), folder);
    if (!read.notTheTeachers.isEmpty()) return read;
    read.text.resize(qsizetype(largest));
    qsizetype total = 0;
    for (DWORD got = 1; total < largest && got > 0; total += got) {
        if (!ReadFile(file.get(), read.text.data() + total, DWORD(largest - total), &got,
                      nullptr)) {
            read.unreadable = lastErrorText();
            break;
        }
    }
    read.text.truncate(total);
    return read;
}

bool notTheTeachersAt(const QString& folder, const QString& path) {
    const Handle file(openUnfollowed(path, READ_CONTROL | FILE_READ_ATTRIBUTES));
    return file.get() != INVALID_HANDLE_VALUE && !whyNotTheTeachers(file.get(), folder).isEmpty();
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
    if (const Security s = securityOf(HANDLE(_get_osfhandle(opened.handle())));
        s.error == ERROR_SUCCESS)
        file.owner = sidText(s.owner);
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
