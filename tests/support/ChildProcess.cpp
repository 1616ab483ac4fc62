#include "ChildProcess.h"

#include <QCoreApplication>

#include <map>
#include <optional>
#include <string>

namespace {
std::map<std::string, ChildRoutine>& Routines() {
    static std::map<std::string, ChildRoutine> routines;
    return routines;
}
constexpr const char* kVariable = "TALLYSCOPE_TEST_CHILD";
} // namespace

ChildRoutineRegistration::ChildRoutineRegistration(const char* name, ChildRoutine routine) {
    Routines()[name] = routine;
}

std::optional<int> RunRequestedChildRoutine() {
    const QByteArray name = qgetenv(kVariable);
    if (name.isEmpty())
        return std::nullopt;
    const auto found = Routines().find(name.toStdString());
    return found != Routines().end() ? found->second() : 127;
}

std::unique_ptr<QProcess> StartChildRoutine(const char* name, const QProcessEnvironment& extra) {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(extra);
    environment.insert(kVariable, name);
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::SeparateChannels);
    process->start(QCoreApplication::applicationFilePath(), {});
    return process;
}
