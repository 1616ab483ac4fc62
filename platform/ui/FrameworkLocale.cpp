#include "platform/ui/FrameworkLocale.h"

#include "platform/gdi/FontFaces.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {
constexpr const char* kTranslatorName = "afxFrameworkTranslator";
} // namespace

bool AfxApplyFrameworkLocale() {
    auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (application == nullptr)
        return false;
    QApplication::setFont(AfxGetProgramFont());
    if (application->findChild<QTranslator*>(kTranslatorName, Qt::FindDirectChildrenOnly) != nullptr)
        return true;
    // The language is the program's, not the user's: every other text on the screen is Japanese.
    auto* translator = new QTranslator(application);
    translator->setObjectName(kTranslatorName);
    if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
