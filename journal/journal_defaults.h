// Where the journal goes and whose it is when nothing else says: the folder used when neither
// the command line nor the settings name one, and the login the program runs under.
#pragma once

#include <QString>

QString defaultJournalFolder();
QString currentUserName();
