#include "look/window_font.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QFont windowFont() {
    QFont font(QString::fromLatin1(kWindowFontFamily));
    font.setPointSizeF(kWindowFontPt);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

void installWindowFont() {
    // Where the system has no PT Sans (Windows), the build puts it in the program.
    const QDir bundled(QStringLiteral(":/fonts"));
    for (const QString& name : bundled.entryList(QDir::Files))
        QFontDatabase::addApplicationFont(bundled.filePath(name));
    QApplication::setFont(windowFont());
}

bool installToolkitRussian() {
    // The program speaks Russian whatever the locale: so do the dialogs Qt draws for it.
    auto* qtTexts = new QTranslator(QCoreApplication::instance());
    if (!qtTexts->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                       QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qtTexts;
        return false;
    }
    return QCoreApplication::installTranslator(qtTexts);
}
