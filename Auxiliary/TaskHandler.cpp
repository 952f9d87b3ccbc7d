#include "Auxiliary/TaskHandler.h"

#include <QStringDecoder>

#include <csignal>
#include <iostream>
#include <mutex>

namespace {

std::mutex lastTaskMutex;
QPointer<QProcess>& lastTaskSlot()
{
    static QPointer<QProcess> slot;
    return slot;
}

QString commandLine(const QString& command, const QStringList& arguments)
{
    return command + QLatin1Char(' ') + arguments.join(QLatin1Char(' '));
}

struct Outcome {
    bool started = false;
    bool stillRunning = false;
    QString output;  // "No standard output.." when not UTF-8
    QString error;
};

QString decodeOrNote(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    return decoder.hasError() ? QStringLiteral("No standard output..") : text;
}

Outcome run(QProcess& process, const QString& command, const QStringList& arguments, int timeoutMs)
{
    {
        std::lock_guard lock(lastTaskMutex);
        lastTaskSlot() = &process;
    }
    process.setProgram(command);
    process.setArguments(arguments);
    process.start();
    Outcome outcome;
    outcome.started = process.waitForStarted();
    if (!outcome.started) {
        outcome.error = process.errorString();
        return outcome;
    }
    if (!process.waitForFinished(timeoutMs)) {
        outcome.stillRunning = process.state() != QProcess::NotRunning;
        if (outcome.stillRunning)
            return outcome;
    }
    outcome.output = decodeOrNote(process.readAllStandardOutput());
    outcome.error = QString::fromUtf8(process.readAllStandardError());
    return outcome;
}

void report(const Outcome& outcome, const QString& line, bool silent, bool printFailure, const TaskHandler::Callback& callback)
{
    if (!outcome.error.isEmpty()) {
        const QString text = outcome.error + QLatin1Char(' ') + outcome.output + QLatin1Char(' ');
        if (!silent && printFailure)
            std::cout << "Task " << line.toStdString() << " failed: " << outcome.error.toStdString() << ' '
                      << outcome.output.toStdString() << std::endl;
        if (callback)
            callback(text);
        return;
    }
    if (!silent)
        std::cout << "Task " << line.toStdString() << " was executed" << std::endl;
    if (callback)
        callback(outcome.output);
}

}  // namespace

QPointer<QProcess> TaskHandler::lastTask()
{
    std::lock_guard lock(lastTaskMutex);
    return lastTaskSlot();
}

void TaskHandler::createTask(const QString& command, const QStringList& arguments, bool silent, const Callback& returnEscaping)
{
    const QString line = commandLine(command, arguments);
    if (!silent)
        std::cout << "Task " << line.toStdString() << " was scheduled." << std::endl;
    QProcess process;
    const Outcome outcome = run(process, command, arguments, -1);
    report(outcome, line, silent, true, returnEscaping);
}

void TaskHandler::createTask(const QString& command, const QStringList& arguments, int timeout, bool silent,
                             const Callback& returnEscaping)
{
    const QString line = commandLine(command, arguments);
    if (!silent)
        std::cout << "Task " << line.toStdString() << " was scheduled with timeout " << timeout << std::endl;
    QProcess process;
    const Outcome outcome = run(process, command, arguments, qMax(0, timeout) * 1000);
    if (!silent)
        std::cout << " wait output: " << (outcome.stillRunning ? "timedOut" : "success") << std::endl;
    if (outcome.stillRunning) {
        const int result = ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
        process.waitForFinished();
        const QString killed = QStringLiteral("Task %1 was killed: %2").arg(line).arg(result);
        if (!silent)
            std::cout << killed.toStdString() << std::endl;
        if (returnEscaping)
            returnEscaping(killed);
        return;
    }
    report(outcome, line, silent, false, returnEscaping);
}

void TaskHandler::createTask(const QString& command, const QStringList& arguments, const Callback& callback)
{
    createTask(command, arguments, false, callback);
}

bool TaskHandler::createTaskWithStatus(const QString& command, const QStringList& arguments)
{
    QProcess process;
    const Outcome outcome = run(process, command, arguments, -1);
    if (outcome.error.isEmpty())
        return true;
    std::cout << "Task failed with: " << outcome.error.toStdString() << ' ' << outcome.output.toStdString() << ' ' << std::endl;
    return false;
}
