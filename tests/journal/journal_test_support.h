// Shared helpers of the journal's tests: runs made up answer by answer, files written and read
// whole, and a picture of a folder (every file's bytes, time and mode) to show that nothing in it
// changed.
#pragma once

#include "core/form.h"
#include "core/review_rows.h"
#include "journal/journal_cache.h"
#include "journal/journal_csv.h"
#include "journal/journal_defaults.h"
#include "journal/journal_file.h"
#include "journal/journal_writer.h"
#include "journal/qt_text.h"
#include "support/law_keys.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QStringList>

#include <memory>

#include <sys/stat.h>
#include <unistd.h>
#ifdef _WIN32
#include <windows.h>
#endif

namespace journal_test {

// 2026-03-14 09:26:53.589 UTC: any fixed moment; the answers follow it.
inline constexpr std::int64_t kMoment = 1'773'480'413'589;

// The answer the pupil writes for law n: the law (test mode) or its right-hand side (trainer);
// a wrong answer lacks the last symbol.
inline std::string answerKey(Mode mode, int n, bool right) {
    law_keys::Tags tags = mode == Mode::trainer ? law_keys::rightSideTags(n) : law_keys::lawTags(n);
    if (!right) tags.pop_back();
    return law_keys::joinTags(tags);
}

// Writes an answer into the form's emptied row (after the drawn left side in the trainer) and
// presses Check.
inline void answer(Form& form, int n, bool right) {
    const Mode mode = form.state.mode;
    form.clear();
    const auto tags = *law_keys::splitKey(answerKey(mode, n, right));
    int slot = mode == Mode::trainer ? int(law_keys::leftSideTags(n).size()) + 1 : 1;
    for (std::string_view tag : tags)
        form.drop(slot++, tag);
    form.check();
}

// A run of `count` answers to questions 1 … count, every third one wrong, 61 s apart.
inline RunRecord madeRun(Mode mode, RunEnding ending, int count, std::int64_t startedMs = kMoment) {
    RunRecord run{1, mode, startedMs, 0, ending, {}, {}};
    for (int n = 1; n <= count; ++n) {
        const bool right = n % 3 != 0;
        run.answers.push_back(
            Answer{n, answerKey(mode, n, right), right, startedMs + 61'017 * std::int64_t{n}});
    }
    if (ending != RunEnding::going)
        run.endedMs = count ? run.answers.back().atMs + 1'001 : startedMs + 5'003;
    return run;
}

inline JournalRun entryOf(const RunRecord& run, const QString& user = QStringLiteral("ivanov"),
                          const QString& machine = QStringLiteral("class-07")) {
    JournalRun entry;
    entry.run = run;
    entry.user = user;
    entry.machine = machine;
    entry.program = QStringLiteral("1.2.0");
    return entry;
}

// Runs made in a test, as a journal folder's listing hands them out.
inline JournalRuns sharedRuns(const std::vector<JournalRun>& runs) {
    JournalRuns shared;
    for (const JournalRun& r : runs)
        shared.push_back(std::make_shared<const JournalRun>(r));
    return shared;
}

inline QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "<unreadable>";
    return file.readAll();
}

inline bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

#ifdef _WIN32
// Windows has no users by number: the tests that run pupils of other ids are skipped there.
inline bool runningAsRoot() {
    return false;
}
#else
inline bool runningAsRoot() {
    return ::geteuid() == 0;
}
#endif

// A program run under another user's ids (the group `gid`, else the user's own number), no
// supplementary groups.
inline std::unique_ptr<QProcess> startAs(unsigned uid, const QString& program,
                                         const QStringList& args, unsigned gid = 0) {
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("USER"), QStringLiteral("u%1").arg(uid));
    p->setProcessEnvironment(env);
    p->start(QStringLiteral("setpriv"),
             QStringList{QStringLiteral("--reuid=%1").arg(uid),
                         QStringLiteral("--regid=%1").arg(gid ? gid : uid),
                         QStringLiteral("--clear-groups"), program} +
                 args);
    return p;
}

// Every entry below a folder, hidden ones and subfolders included: its bytes, modification time
// (to the nanosecond) and mode.
struct FileState {
    QByteArray bytes;
    std::int64_t mtimeNs = 0;
    unsigned mode = 0;
    friend bool operator==(const FileState&, const FileState&) = default;
};
using FolderState = QMap<QString, FileState>;

inline FolderState folderState(const QString& folder) {
    FolderState state;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        FileState f;
#ifdef _WIN32 // no lstat: Qt's times, to the millisecond, and its permissions
        const QFileInfo info(path);
        f.mtimeNs = info.lastModified().toMSecsSinceEpoch() * 1'000'000;
        f.mode = unsigned(info.permissions()) | (info.isFile() ? 0x10000u : 0u);
        if (info.isFile()) f.bytes = readAll(path);
#else
        struct stat st {};
        if (::lstat(QFile::encodeName(path).constData(), &st) != 0) continue;
        f.mtimeNs = std::int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec;
        f.mode = st.st_mode;
        if (S_ISREG(st.st_mode) && (st.st_mode & S_IRUSR)) f.bytes = readAll(path);
#endif
        state.insert(QDir(folder).relativeFilePath(path), f);
    }
    return state;
}

inline QString describeDifference(const FolderState& before, const FolderState& after) {
    QStringList d;
    for (auto it = before.begin(); it != before.end(); ++it)
        if (!after.contains(it.key()))
            d << it.key() + QStringLiteral(" went");
        else if (!(after[it.key()] == it.value()))
            d << it.key() + QStringLiteral(" changed");
    for (auto it = after.begin(); it != after.end(); ++it)
        if (!before.contains(it.key())) d << it.key() + QStringLiteral(" came");
    return d.join(QStringLiteral(", "));
}

#ifdef _WIN32
inline constexpr bool kHasModes = false;
// A file held open by this process with no sharing: no other opening of it reads it.
struct ExclusiveFile {
    explicit ExclusiveFile(const QString& path)
        : handle(CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), GENERIC_READ, 0,
                             nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~ExclusiveFile() { CloseHandle(handle); }
    HANDLE handle;
};
#else
inline constexpr bool kHasModes = true;
struct ExclusiveFile { // unreadable files are made by their mode here
    explicit ExclusiveFile(const QString&) {}
};
#endif

// A run file's mode as written: the group may read it. Windows has no modes (the folder's
// access list rules), and its C library shows a file not read-only as 0666.
#ifdef _WIN32
inline constexpr unsigned kRunFileMode = 0666;
#else
inline constexpr unsigned kRunFileMode = 0640;
#endif

inline unsigned permissionsOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return 0xFFFF;
    return st.st_mode & 07777;
}

} // namespace journal_test

#define COMPARE_FOLDERS(after, before)                                                             \
    QVERIFY2((after) == (before), qPrintable(journal_test::describeDifference((before), (after))))
