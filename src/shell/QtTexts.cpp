#include "shell/QtTexts.h"

#include "base/Texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace kt {

QtTexts::~QtTexts() { Remove(); }

void QtTexts::Remove()
{
    for (auto& t : installed_) QCoreApplication::removeTranslator(t.get());
    installed_.clear();
}

bool QtTexts::Use(int language)
{
    Remove();
    if (language != Chinese) return true;
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    const QLocale zh(QLocale::Chinese, QLocale::China);
    // "qt" is the catalogue of Qt's modules; serial port and multimedia texts
    // are only in their own files on some installations, so those go too.
    bool any = false;
    for (const char* name : {"qt", "qtserialport", "qtmultimedia"}) {
        auto t = std::make_unique<QTranslator>();
        if (!t->load(zh, QString::fromLatin1(name), QStringLiteral("_"), dir)) continue;
        QCoreApplication::installTranslator(t.get());
        installed_.push_back(std::move(t));
        any = true;
    }
    return any;
}

}  // namespace kt
