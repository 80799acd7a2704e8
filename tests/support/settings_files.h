// The settings files of one test in a fresh folder of their own: QSettings reads the user's from
// user/zakony-logiki/zakony-logiki.conf and the system-wide from system/zakony-logiki/…
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

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
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope,
                           home->filePath("system"));
        userFile = home->filePath("user/zakony-logiki/zakony-logiki.conf");
        systemFile = home->filePath("system/zakony-logiki/zakony-logiki.conf");
    }

    // A file with these bytes; none for kNoFile.
    static void write(const QString& path, const QByteArray& content) {
        if (content == kNoFile) return;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
};
