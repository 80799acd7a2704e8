#include "app/journal_export.h"

#include "journal/journal_cache.h"
#include "journal/journal_csv.h"
#include "journal/journal_xlsx.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

int exportJournal(const QString& folder, const QString& path, QTextStream& out,
                  QTextStream& errors) {
    // Before the first run the folder is not made yet: an empty journal, as the view shows it.
    const bool notMadeYet = !QFileInfo::exists(folder);
    const JournalListing listing = notMadeYet ? JournalListing{} : readJournal(folder);
    if (listing.hiddenFromPupil) {
        errors << "zakony-logiki: Журнал класса виден только учителю: " << folder << Qt::endl;
        return 1;
    }
    if (!listing.problem.isEmpty()) {
        errors << "zakony-logiki: " << listing.problem << Qt::endl;
        return 1;
    }
    // A run's file that could not be read (not allowed, damaged) is a run missing from the
    // export; another file in the folder is nobody's run.
    qsizetype runsLost = 0;
    for (const SkippedFile& s : listing.skipped) {
        errors << "zakony-logiki: пропущен " << QDir(folder).filePath(s.fileName) << ": " << s.why
               << Qt::endl;
        if (s.fileName.endsWith(QLatin1String(kJournalExtension))) ++runsLost;
    }
    QString problem;
    if (path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive)) {
        problem = writeJournalWorkbook(path, listing.runs);
    } else {
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(runsCsv(listing.runs)) < 0 ||
            !file.commit())
            problem = file.errorString();
    }
    if (!problem.isEmpty()) {
        errors << "zakony-logiki: " << path << " не записан: " << problem << Qt::endl;
        return 1;
    }
    if (notMadeYet)
        out << "Журнал пуст: папки " << folder << " ещё нет; в " << path << " одни заголовки"
            << Qt::endl;
    else
        out << "Прохождений в " << path << ": " << listing.runs.size() << Qt::endl;
    if (runsLost) {
        errors << "zakony-logiki: не прочитано прохождений: " << runsLost << ", в " << path
               << " их нет. Если к ним нет доступа, войдите в систему заново после того, как вас "
                  "добавили в группу папки журнала, и выгрузите журнал ещё раз"
               << Qt::endl;
        return 2;
    }
    return 0;
}
