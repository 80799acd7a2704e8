// The settings files of one test: the user's in a fresh folder (user/zakony-logiki/…), the
// system-wide one where the test's build of the program reads it (ZL_SYSTEM_SETTINGS, in the
// build tree), emptied for each test; QSettings falls back to that same file.
#pragma once

#include "app/options.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <memory>
#include <optional>

// No file at all, as opposed to an empty one.
inline const QByteArray kNoFile("<no file>");

struct SettingsFiles {
    std::unique_ptr<QTemporaryDir> home;
    QString userFile, systemFile;

    // For init(): a new folder, and QSettings pointed at it.
    void make() {
        home = std::make_unique<QTemporaryDir>();
        QVERIFY(home->isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home->filePath("user"));
        systemFile = QStringLiteral(ZL_SYSTEM_SETTINGS);
        const QFileInfo system(systemFile);
        QVERIFY(QDir().mkpath(system.path()));
        QFile::remove(systemFile);
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope,
                           QFileInfo(system.path()).path());
        userFile = home->filePath("user/zakony-logiki/zakony-logiki.conf");
    }

    // A file with these bytes; none for kNoFile.
    static void write(const QString& path, const QByteArray& content) {
        if (content == kNoFile) return;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write(content) == content.size() && file.flush());
        // Qt keeps a settings file it has read by its size and modification time: each write
        // has a time of its own, or two of one size within the clock's step read as one.
        static qint64 writes = 0;
        QVERIFY(file.setFileTime(QDateTime::fromSecsSinceEpoch(1'700'000'000 + ++writes),
                                 QFileDevice::FileModificationTime));
    }
};

// The options the program would start with, read from the settings files and these arguments,
// with what it printed.
struct OptionsReading {
    std::optional<StartOptions> options;
    QString out, errors;
};

inline OptionsReading readOptions(const QStringList& arguments) {
    const auto settings = programSettings();
    OptionsReading reading;
    QTextStream outStream(&reading.out), errorStream(&reading.errors);
    reading.options = readStartOptions(QStringList{QStringLiteral("zakony-logiki")} + arguments,
                                       *settings, outStream, errorStream);
    outStream.flush();
    errorStream.flush();
    return reading;
}
