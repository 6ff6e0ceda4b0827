// Qt's own texts (standard dialogs, message box buttons, the context menus of
// edit boxes) in the program's language: Chinese loads Qt's translations,
// English loads none.
#pragma once

#include <QTranslator>
#include <memory>
#include <vector>

namespace kt {

class QtTexts {
public:
    ~QtTexts();
    // Installs the translations for language (1 English, 2 Chinese) into the
    // application, replacing the ones installed before.  False when Chinese
    // was asked for but Qt's translation files are not installed.
    bool Use(int language);

private:
    void Remove();
    std::vector<std::unique_ptr<QTranslator>> installed_;
};

}  // namespace kt
