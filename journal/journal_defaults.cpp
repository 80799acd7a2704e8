#include "journal/journal_defaults.h"

#include <QStandardPaths>
#include <pwd.h>
#include <unistd.h>

QString defaultJournalFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/zakony-logiki/journal");
}

QString currentUserName() {
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER", QStringLiteral("?"));
}
