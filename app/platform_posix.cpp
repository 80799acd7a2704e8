#include "app/platform.h"

QSettings::Format settingsFormat() {
    return QSettings::NativeFormat; // ~/.config/zakony-logiki/zakony-logiki.conf
}

QString systemSettingsPath() {
    return QString::fromUtf8(ZL_SYSTEM_SETTINGS); // /etc/xdg/zakony-logiki/… as built
}

QStringList commandLine(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}
