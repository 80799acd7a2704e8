#include "look/window_font.h"

#include <QApplication>
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
