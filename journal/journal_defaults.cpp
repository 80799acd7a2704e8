#include "journal/journal_defaults.h"

#include "journal/platform_files.h"

#include <QStandardPaths>

QString defaultJournalFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/zakony-logiki/journal");
}

QString currentUserName() {
    return loginName();
}
