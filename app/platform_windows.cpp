#include "app/platform.h"

#include <QDir>
#include <shlobj.h>
#include <windows.h>

QSettings::Format settingsFormat() {
    return QSettings::IniFormat; // %APPDATA%\zakony-logiki\zakony-logiki.ini
}

// %PROGRAMDATA%\zakony-logiki\zakony-logiki.ini, the folder asked of the system itself (the
// variable is the pupil's to change); or the file the build names, as the tests' builds do.
QString systemSettingsPath() {
    constexpr char kBuilt[] = ZL_SYSTEM_SETTINGS;
    if (kBuilt[0] != '\0') return QString::fromUtf8(kBuilt);
    QString folder = QStringLiteral("C:/ProgramData");
    wchar_t* known = nullptr;
    if (SHGetKnownFolderPath(FOLDERID_ProgramData, 0, nullptr, &known) == S_OK)
        folder = QDir::fromNativeSeparators(QString::fromWCharArray(known));
    CoTaskMemFree(known);
    return folder + QStringLiteral("/zakony-logiki/zakony-logiki.ini");
}

// argv is in the ANSI code page, which has no room for every name; the wide command line has.
QStringList commandLine(int, char*[]) {
    QStringList arguments;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 0; wide && i < count; ++i)
        arguments << QString::fromWCharArray(wide[i]);
    LocalFree(wide);
    return arguments;
}
