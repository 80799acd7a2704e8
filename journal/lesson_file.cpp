#include "journal/lesson_file.h"

#include "journal/platform_files.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryFile>

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
        if (const auto minutes = parseMinutes(text.toStdString()))
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

// Read through what was judged, without following a link. It is read from a copy, as Qt keeps
// what it read of a file by its name and might not see it rewritten within the same millisecond.
std::optional<LessonSettings> readLessonFile(const QString& folder, QStringList& problems) {
    const QString path = lessonPath(folder);
    const QString shown = QDir::toNativeSeparators(path);
    const auto notFollowed = [&](const QString& why) {
        problems << QStringLiteral("Файл задания %1 — не учителя (%2); задание из него не берётся")
                        .arg(shown, why);
        return std::nullopt;
    };
    const auto unreadable = [&](const QString& why) {
        problems << QStringLiteral("Файл задания %1 не читается: %2").arg(shown, why);
        return std::nullopt;
    };
    const TeachersFile read = readTeachersFile(folder, path, kLargestLessonFile);
    if (read.missing) return std::nullopt;
    if (!read.notTheTeachers.isEmpty()) return notFollowed(read.notTheTeachers);
    if (!read.unreadable.isEmpty()) return unreadable(read.unreadable);
    const QByteArray& text = read.text;
    QTemporaryFile copy;
    if (!copy.open() || copy.write(text) != text.size() || !copy.flush())
        return unreadable(copy.errorString());
    const QSettings settings(copy.fileName(), QSettings::IniFormat);
    return readLessonSettings(settings, QStringLiteral("в файле задания ") + shown, problems);
}

// Written beside, then put in the file's place in one step: a pupil's program reading it at a
// Start never sees half of it, and whatever stood there (a link too) is replaced, not written
// through.
LessonWritten writeLessonFile(const QString& folder, const Lesson& lesson) {
    const QString path = lessonPath(folder);
    LessonWritten written;
    written.replacedPlanted = notTheTeachersAt(folder, path);
    const auto failed = [&](const QString& why) {
        written.problem = why;
        written.replacedPlanted = false;
        return written;
    };
    // Qt holds a temporary file open until it is gone, and Windows moves no open file: it is
    // written and closed first, and removed again unless it was put in place.
    QString aside;
    {
        QTemporaryFile file(QDir(folder).filePath(QStringLiteral(".zadanie.XXXXXX")));
        const QByteArray text = lessonText(lesson);
        if (!file.open() || file.write(text) != text.size() || !file.flush())
            return failed(file.errorString());
        if (const QString why = publishTeachersFile(file); !why.isEmpty()) return failed(why);
        file.setAutoRemove(false);
        aside = file.fileName();
    }
    if (const QString why = replaceFile(aside, path); !why.isEmpty()) {
        QFile::remove(aside);
        return failed(why);
    }
    return written;
}
