// What the journal asks of the operating system that not every system has, each behind one
// small function: platform_files_posix.cpp holds the POSIX bodies, platform_files_windows.cpp
// the Windows ones, and the build takes one of the two.
#pragma once
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QFileDevice;

// The name this user logged in with.
QString loginName();

// The first write of a run's file: `aside` (written and closed) is put at `path` only where no
// file has that name; nameTaken where one has.
enum class Placed { yes, nameTaken, failed };
Placed placeNewFile(const QString& aside, const QString& path, QString& problem);

// Flushes a file being written to the disk; why that failed, empty when it did not.
QString syncToDisk(QFileDevice& file);

// Puts the finished file `from` in the place of `to`, whatever stood there, in one step; why
// that failed, empty when it did not.
QString replaceFile(const QString& from, const QString& to);

// A file the teacher writes for the class (open, written, flushed): readable by the pupils
// whatever the umask, and on the disk. Why that failed, empty when it did not.
QString publishTeachersFile(QFileDevice& file);

// A file in a class's folder that should be the teacher's, opened without following a link
// and judged by what was opened: by whom it was written and who else may change it.
struct TeachersFile {
    bool missing = false;
    QString notTheTeachers; // why it may not be the teacher's; empty when it may
    QString unreadable;     // why it could not be read; empty when it could
    QByteArray text;
};
TeachersFile readTeachersFile(const QString& folder, const QString& path, qint64 largest);
// Something not the teacher's stands at `path` in `folder`.
bool notTheTeachersAt(const QString& folder, const QString& path);

// A journal folder opened for one refresh: its names and its files, read the quickest way the
// system has.
class JournalFolder {
  public:
    explicit JournalFolder(const QString& path);
    ~JournalFolder();
    JournalFolder(const JournalFolder&) = delete;
    JournalFolder& operator=(const JournalFolder&) = delete;

    enum class Opened { yes, denied, missing, failed };
    Opened opened() const { return state; }
    QString problem() const { return why; } // where failed

    // Changes whenever a file is made, renamed or removed in the folder; none where unknown.
    struct Stamp {
        std::uint64_t device = 0, inode = 0;
        std::int64_t mtimeNs = -1;
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };
    std::optional<Stamp> stamp() const;

    // The names of the files (or links to files) in it, not of folders, pipes or devices;
    // hidden ones (".name.tmp" is a run being written) and `except` aside; sorted. Nothing where
    // the listing failed (problem() says why).
    std::optional<std::vector<std::string>> fileNames(const char* except);

    // A file's size and modification time; nothing where it cannot be looked at.
    struct Times {
        std::int64_t size = -1, mtimeNs = -1;
    };
    std::optional<Times> times(const std::string& name) const;

    // A file read whole, up to one byte more than `largest`, into `buffer` (kept from file to
    // file); `bytes` point into it.
    struct Read {
        bool gone = false;   // removed since the listing
        bool denied = false; // this user may not read it
        QString unreadable;  // why it was not read; empty when it was
        std::int64_t size = -1, mtimeNs = -1;
        // Its owner as the system names accounts (a uid's digits, a Windows SID), where known.
        std::optional<QString> owner;
        std::optional<QByteArray> bytes;
    };
    Read read(const std::string& name, std::int64_t largest, QByteArray& buffer) const;

    // Now, on the clock the modification times are on.
    static std::int64_t nowNs();

  private:
    QString path;
    Opened state = Opened::failed;
    QString why;
    int fd = -1;
    void* listing = nullptr;
};

// An account's name from its number or SID as `Read::owner` gives them, empty where there is
// none.
QString userNameOf(const QString& owner);
