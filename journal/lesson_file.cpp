#include "journal/lesson_file.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 kLargestLessonFile = 64 * 1024; // a few lines; more is read no further

// A value as written: a list Qt split at its commas ("1-12,15") joined back.
QString textOf(const QVariant& value) {
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(',').trimmed();
    return value.toString().trimmed();
}

QString quoted(const QString& text) {
    return QStringLiteral("«") + text.left(80) + QStringLiteral("»");
}

QString ownerNameOf(uid_t uid) {
    if (const passwd* user = ::getpwuid(uid)) return QString::fromLocal8Bit(user->pw_name);
    return QString::number(uid);
}

// Why a file may not be the teacher's; empty when it is.
QString whyNotTheTeachers(const struct stat& file, const struct stat& folder) {
    if (S_ISLNK(file.st_mode)) return QStringLiteral("это символьная ссылка");
    if (!S_ISREG(file.st_mode)) return QStringLiteral("это не обычный файл");
    if (file.st_uid != folder.st_uid && file.st_uid != 0)
        return QStringLiteral("его записал %1, а не владелец папки %2")
            .arg(ownerNameOf(file.st_uid), ownerNameOf(folder.st_uid));
    if (file.st_mode & (S_IWGRP | S_IWOTH))
        return QStringLiteral("его могут изменить и другие пользователи");
    return {};
}

// Something not the teacher's stands at `path`: whatever the teacher writes there replaces it.
bool plantedAt(const QString& folder, const QString& path) {
    struct stat file {};
    struct stat dir {};
    return ::lstat(QFile::encodeName(path).constData(), &file) == 0 &&
           ::stat(QFile::encodeName(folder).constData(), &dir) == 0 &&
           !whyNotTheTeachers(file, dir).isEmpty();
}

QString lessonPath(const QString& folder) {
    return QDir(folder).filePath(QString::fromLatin1(kLessonFileName));
}

QByteArray lessonText(const Lesson& lesson) {
    // An empty list names all the laws, so that a file's "all" also stands over other settings.
    return "[test]\nlaws=" + QByteArray::fromStdString(lawListText(lesson.laws)) +
           "\nminutes=" + QByteArray::number(lesson.minutes) +
           "\norder=" + (lesson.shuffled ? "shuffled" : "catalogue") +
           "\nmarks=" + QByteArray::fromStdString(marksText(lesson.marks)) + '\n';
}

} // namespace

LessonSettings readLessonSettings(const QSettings& settings, const QString& where,
                                  QStringList& problems) {
    LessonSettings read;
    const auto bad = [&](const char* key, const QString& text, const char* why) {
        problems << QStringLiteral("test/%1 %2: %3 — %4; не учтено")
                        .arg(QLatin1String(key), where, quoted(text), QString::fromUtf8(why));
    };
    if (settings.contains(QStringLiteral("test/laws"))) {
        const QString text = textOf(settings.value(QStringLiteral("test/laws")));
        if (text.isEmpty())
            read.laws.emplace();
        else if (auto laws = parseLawList(text.toStdString()))
            read.laws = std::move(laws);
        else
            bad("laws", text, "не список законов от 1 до 23, как 1-12,15");
    }
    if (settings.contains(QStringLiteral("test/minutes"))) {
        const QString text = textOf(settings.value(QStringLiteral("test/minutes")));
        bool number = false;
        const int minutes = text.toInt(&number);
        if (number && minutes >= 0 && minutes <= kMaxMinutes)
            read.minutes = minutes;
        else
            bad("minutes", text, "не число минут от 0 до 600");
    }
    if (settings.contains(QStringLiteral("test/order"))) {
        // "fixed" is the catalogue's order as earlier settings files name it.
        const QString text = textOf(settings.value(QStringLiteral("test/order"))).toLower();
        if (text == QLatin1String("shuffled") || text == QLatin1String("catalogue") ||
            text == QLatin1String("fixed"))
            read.shuffled = text == QLatin1String("shuffled");
        else
            bad("order", text, "не shuffled и не catalogue");
    }
    if (settings.contains(QStringLiteral("test/marks"))) {
        const QString text = textOf(settings.value(QStringLiteral("test/marks")));
        if (auto marks = parseMarks(text.toStdString()))
            read.marks = marks;
        else
            bad("marks", text, "не три доли в процентах, каждая меньше предыдущей, как 90,75,50");
    }
    return read;
}

Lesson withSettings(Lesson base, const LessonSettings& settings) {
    if (settings.laws) base.laws = *settings.laws;
    if (settings.minutes) base.minutes = *settings.minutes;
    if (settings.shuffled) base.shuffled = *settings.shuffled;
    if (settings.marks) base.marks = *settings.marks;
    return base;
}

// Judged and read through one descriptor, opened without following a link: the file judged is
// the file read. It is read from a copy, as Qt keeps what it read of a file by its name and
// might not see it rewritten within the same millisecond.
std::optional<LessonSettings> readLessonFile(const QString& folder, QStringList& problems) {
    const QString path = lessonPath(folder);
    const QString shown = QDir::toNativeSeparators(path);
    const auto notFollowed = [&](const QString& why) {
        problems << QStringLiteral("Файл задания %1 — не учителя (%2); задание из него не берётся")
                        .arg(shown, why);
        return std::nullopt;
    };
    const auto unreadable = [&](int error) {
        problems
            << QStringLiteral("Файл задания %1 не читается: %2").arg(shown, qt_error_string(error));
        return std::nullopt;
    };
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) return std::nullopt;
    if (fd < 0 && errno == ELOOP) return notFollowed(QStringLiteral("это символьная ссылка"));
    if (fd < 0) return unreadable(errno);
    QFile opened;
    opened.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    struct stat file {};
    struct stat dir {};
    if (::fstat(fd, &file) != 0 || ::stat(QFile::encodeName(folder).constData(), &dir) != 0)
        return unreadable(errno);
    if (const QString why = whyNotTheTeachers(file, dir); !why.isEmpty()) return notFollowed(why);
    const QByteArray text = opened.read(kLargestLessonFile);
    QTemporaryFile copy;
    if (!copy.open() || copy.write(text) != text.size() || !copy.flush()) return unreadable(EIO);
    const QSettings settings(copy.fileName(), QSettings::IniFormat);
    return readLessonSettings(settings, QStringLiteral("в файле задания ") + shown, problems);
}

// Written beside, then put in the file's place in one step: a pupil's program reading it at a
// Start never sees half of it, and whatever stood there (a link too) is replaced, not written
// through.
LessonWritten writeLessonFile(const QString& folder, const Lesson& lesson) {
    const QString path = lessonPath(folder);
    LessonWritten written;
    written.replacedPlanted = plantedAt(folder, path);
    QTemporaryFile file(QDir(folder).filePath(QStringLiteral(".zadanie.XXXXXX")));
    const QByteArray text = lessonText(lesson);
    if (!file.open() || file.write(text) != text.size() || !file.flush()) {
        written.problem = file.errorString();
        written.replacedPlanted = false;
        return written;
    }
    // Readable by the pupils whatever the teacher's umask; a planted file's mode is not kept.
    if (::fchmod(file.handle(), 0644) != 0 || ::fsync(file.handle()) != 0 ||
        ::rename(QFile::encodeName(file.fileName()).constData(),
                 QFile::encodeName(path).constData()) != 0) {
        written.problem = qt_error_string(errno);
        written.replacedPlanted = false;
        return written;
    }
    file.setAutoRemove(false);
    return written;
}
