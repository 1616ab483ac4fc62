#include "platform/core/EngineModule.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QMutex>
#include <QMutexLocker>

#include <map>
#include <memory>
#include <string>

namespace {

QMutex& ModulesLock() {
    static QMutex lock;
    return lock;
}

// The modules loaded so far, by name; never unloaded, since what they made may still be in use.
std::map<std::string, std::unique_ptr<QLibrary>>& Loaded() {
    static std::map<std::string, std::unique_ptr<QLibrary>> modules;
    return modules;
}

QString FileName(const char* moduleName) {
    return QStringLiteral("lib%1.so").arg(QString::fromLatin1(moduleName));
}

// The module found and loaded, or null with why.
std::unique_ptr<QLibrary> Load(const char* moduleName, QString& error) {
    const QStringList folders = EngineModule::Folders();
    error = QStringLiteral("%1 is in none of %2").arg(FileName(moduleName), folders.join(QStringLiteral(", ")));
    for (const QString& folder : folders) {
        const QString path = folder + QLatin1Char('/') + FileName(moduleName);
        if (!QFileInfo::exists(path))
            continue;
        auto module = std::make_unique<QLibrary>(path);
        if (module->load())
            return module;
        error = module->errorString();
    }
    return nullptr;
}

} // namespace

// Beside the program and one folder up (a build tree keeps the modules beside the program, and
// its tests and benchmarks one folder below), then the installation's module folder, found from
// the program's own folder so that the installation may be moved (make install PREFIX=...).
QStringList EngineModule::Folders() {
    const QDir program(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(QLatin1Char('/'), 0, -2));
    QStringList folders{program.absolutePath(), QDir::cleanPath(program.absoluteFilePath(QStringLiteral("..")))};
#ifdef TALLYSCOPE_INSTALLED_MODULE_SUBDIR
    folders << QDir::cleanPath(program.absoluteFilePath(QStringLiteral("../" TALLYSCOPE_INSTALLED_MODULE_SUBDIR)));
#endif
    folders.removeDuplicates();
    return folders;
}

void* EngineModule::Function(const char* moduleName, const char* functionName, QString* error) {
    const QMutexLocker locker(&ModulesLock());
    auto& loaded = Loaded();
    auto found = loaded.find(moduleName);
    if (found == loaded.end()) {
        QString why;
        std::unique_ptr<QLibrary> module = Load(moduleName, why);
        if (module == nullptr) {
            if (error != nullptr)
                *error = why;
            return nullptr;
        }
        found = loaded.emplace(moduleName, std::move(module)).first;
    }
    void* function = reinterpret_cast<void*>(found->second->resolve(functionName));
    if (function == nullptr && error != nullptr)
        *error = found->second->errorString();
    return function;
}

bool EngineModule::IsLoaded(const char* moduleName) {
    const QMutexLocker locker(&ModulesLock());
    return Loaded().count(moduleName) > 0;
}
