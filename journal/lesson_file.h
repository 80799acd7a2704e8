// The lesson a teacher sets for the class: the `[test]` group of a settings file (the laws asked,
// the time limit, the order, the marks), and the class's own lesson file in its journal folder,
// written by the teacher's class view and followed only when the teacher wrote it.
#pragma once

#include "core/lesson.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class QSettings;

// The lesson file's name in the class's journal folder.
inline constexpr char kLessonFileName[] = "zadanie.ini";

// What a `[test]` group says; only the keys present and good.
struct LessonSettings {
    std::optional<std::vector<int>> laws; // empty: all of them
    std::optional<int> minutes;
    std::optional<bool> shuffled;
    std::optional<Marks> marks;
    friend bool operator==(const LessonSettings&, const LessonSettings&) = default;
};

// The `[test]` group of `settings` (test/laws, test/minutes, test/order, test/marks). Each bad
// value is left out and told in one Russian line appended to `problems`, naming the key as
// "test/minutes <where>" ("в настройках", "в файле задания …").
LessonSettings readLessonSettings(const QSettings& settings, const QString& where,
                                  QStringList& problems);
// `base` with what `settings` says laid over it.
Lesson withSettings(Lesson base, const LessonSettings& settings);

// The lesson file in `folder`, when the teacher wrote it: a regular file (no symbolic link) of the
// folder's owner or root that nobody else may write. A file anyone else could have put or changed
// is not followed, and that is told in `problems`; no file: nothing, and nothing told.
std::optional<LessonSettings> readLessonFile(const QString& folder, QStringList& problems);

struct LessonWritten {
    QString problem;              // empty when written; else why not, in Russian
    bool replacedPlanted = false; // a file not the teacher's was there, and is replaced
};
// Writes `lesson` as the lesson file in `folder`, whole or not at all, readable by all and
// writable by its owner alone.
LessonWritten writeLessonFile(const QString& folder, const Lesson& lesson);
