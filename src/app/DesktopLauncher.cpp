#include "app/DesktopLauncher.h"

#include <memory>

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace morvi {
namespace {

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

struct Chain {
    std::vector<LaunchCommand> commands;
    size_t next = 0;
    std::string failText;
    std::function<void(const std::string&)> failed;
};

void TryNext(std::shared_ptr<Chain> chain) {
    if (chain->next >= chain->commands.size()) {
        if (chain->failed) chain->failed(chain->failText);
        return;
    }
    const LaunchCommand& command = chain->commands[chain->next++];
    QStringList arguments;
    for (const std::string& a : command.arguments) arguments << FromUtf8(a);
    if (!command.waitForExitStatus) {
        if (!QProcess::startDetached(FromUtf8(command.program), arguments)) TryNext(chain);
        return;
    }
    // The opener hands the file to its program and ends at once; its status tells whether a
    // program was found. It is watched without blocking the window.
    auto* process = new QProcess;
    QObject::connect(process, &QProcess::finished, process, [process, chain](int code, QProcess::ExitStatus status) {
        process->deleteLater();
        if (status != QProcess::NormalExit || code != 0) TryNext(chain);
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, chain](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            process->deleteLater();
            TryNext(chain);
        }
    });
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start(FromUtf8(command.program), arguments);
}

}  // namespace

LaunchEnvironment SystemLaunchEnvironment() {
    return {[](const std::string& name) { return qEnvironmentVariable(name.c_str()).toStdString(); },
            [](const std::string& program) {
                return !QStandardPaths::findExecutable(FromUtf8(program)).isEmpty();
            }};
}

void RunFirstWorking(std::vector<LaunchCommand> commands, std::string failText,
                     std::function<void(const std::string&)> failed) {
    auto chain = std::make_shared<Chain>();
    chain->commands = std::move(commands);
    chain->failText = std::move(failText);
    chain->failed = std::move(failed);
    TryNext(chain);
}

}  // namespace morvi
