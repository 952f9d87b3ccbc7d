#pragma once

#include <QPointer>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>

// Runs a program with its standard output and error each on a pipe, waits for it and reports its
// output. A non-empty standard error counts as failure. Any thread; each call waits for its process.
class TaskHandler {
public:
    using Callback = std::function<void(const QString& output)>;

    // The process started last (null before the first, or once it has been deleted).
    static QPointer<QProcess> lastTask();

    // Runs and reports to `returnEscaping`: the output text, or on failure the error text, a space,
    // the output text ("No standard output.." when it is not UTF-8) and a space.
    static void createTask(const QString& command, const QStringList& arguments, bool silent, const Callback& returnEscaping);
    // The same, but a process still running after `timeout` seconds is sent SIGTERM and reported as
    // killed with the result of that signal.
    static void createTask(const QString& command, const QStringList& arguments, int timeout, bool silent,
                           const Callback& returnEscaping);
    static void createTask(const QString& command, const QStringList& arguments, const Callback& callback);
    // True when the program ran and wrote nothing to its standard error.
    static bool createTaskWithStatus(const QString& command, const QStringList& arguments);
};
