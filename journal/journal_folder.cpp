#include "journal/journal_folder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <algorithm>
#include <pwd.h>
#include <unistd.h>

JournalListing readJournal(const QString& folder, const QString& ownFile) {
    JournalListing listing;
    const QDir dir(folder);
    if (!dir.exists()) {
        listing.problem = QStringLiteral("папки журнала нет: ") + folder;
        return listing;
    }
    if (!dir.isReadable()) {
        listing.problem = QStringLiteral("папка журнала не читается: ") + folder;
        return listing;
    }
    // Hidden files are runs being written (".name.tmp"), or no business of the journal's.
    const QStringList names = dir.entryList(QDir::Files, QDir::Name);
    for (const QString& name : names) {
        QFile file(dir.filePath(name));
        if (!name.endsWith(QLatin1String(kJournalExtension))) {
            listing.skipped.push_back({name, QStringLiteral("не файл журнала")});
            continue;
        }
        if (!file.open(QIODevice::ReadOnly)) {
            listing.skipped.push_back({name, QStringLiteral("не читается: ") + file.errorString()});
            continue;
        }
        const QByteArray bytes = file.read(1 << 20);
        if (file.error() != QFileDevice::NoError) {
            listing.skipped.push_back({name, QStringLiteral("не читается: ") + file.errorString()});
            continue;
        }
        JournalReading reading = parseJournal(bytes);
        if (!reading.run) {
            listing.skipped.push_back({name, reading.problem});
            continue;
        }
        reading.run->fileName = name;
        if (reading.run->run.ending == RunEnding::going && name != ownFile)
            reading.run->run.ending = RunEnding::cutShort;
        listing.runs.push_back(std::move(*reading.run));
    }
    std::stable_sort(
        listing.runs.begin(), listing.runs.end(),
        [](const JournalRun& a, const JournalRun& b) { return a.run.startedMs > b.run.startedMs; });
    return listing;
}

QString defaultJournalFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/zakony-logiki/journal");
}

QString currentUserName() {
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER", QStringLiteral("?"));
}
