#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// What a finished program left: its exit code (-1 when it crashed or hung),
// its output as bytes and its error output as text.
struct TRun {
    int ExitCode = -1;
    QByteArray Out;
    QString Err;

    QString OutText() const { return QString::fromUtf8(Out); }
};

// Runs a program with the given environment and standard input to its end,
// or for a minute at the most.
inline TRun RunProgram(const QString& program, const QStringList& arguments,
                       const QProcessEnvironment& environment, const QByteArray& input) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    TRun run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.Out = process.readAllStandardOutput();
    run.Err = QString::fromUtf8(process.readAllStandardError());
    return run;
}
