#pragma once

// Programs and files from outside the project that tests check their output with: gpsbabel,
// xmllint with a real schema, rsvg-convert. A test that cannot find one skips and says why; in
// CI (CI=true) it fails instead, so a missing install step cannot pass unnoticed.

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

// Skips the test with `why` (a QString), or fails it in CI.
#define GYRENA_SKIP_OR_FAIL(why)                                                                   \
    do {                                                                                           \
        const QByteArray reason = (why).toUtf8();                                                  \
        if (qEnvironmentVariable("CI") == QLatin1String("true"))                                   \
            QFAIL(reason.constData());                                                             \
        QSKIP(reason.constData());                                                                 \
    } while (false)

// Sets `path` (a QString variable) to the program `name` on PATH, or skips / fails the test.
#define GYRENA_REQUIRE_PROGRAM(path, name, group)                                                  \
    const QString path = QStandardPaths::findExecutable(QStringLiteral(name));                     \
    if (path.isEmpty())                                                                            \
    GYRENA_SKIP_OR_FAIL(QStringLiteral(name " is not installed (scripts/deps.sh " group ")"))

// What `program` prints on standard output (trimmed), given `input` and the `environment`'s
// "NAME=value" pairs; empty when it fails to start, to finish in two minutes or exits non-zero.
inline QString runProgram(const QString& program, const QStringList& arguments,
                          const QByteArray& input = {}, const QByteArrayList& environment = {})
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QByteArray& pair : environment)
        env.insert(QString::fromUtf8(pair.left(pair.indexOf('='))),
                   QString::fromUtf8(pair.mid(pair.indexOf('=') + 1)));
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    if (!process.waitForStarted(30000))
        return {};
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return process.exitCode() == 0 ? QString::fromUtf8(process.readAllStandardOutput()).trimmed()
                                   : QString();
}

// The schema `file` (for example "Topografix_gpx11.xsd") as scripts/schemas.sh puts it into
// the build tree (GYRENA_SCHEMA_DIR), or an empty text when it is not there.
inline QString schemaFile(const QString& file)
{
#ifdef GYRENA_SCHEMA_DIR
    const QString path = QStringLiteral(GYRENA_SCHEMA_DIR "/") + file;
    return QFileInfo::exists(path) ? path : QString();
#else
    Q_UNUSED(file);
    return {};
#endif
}

// What xmllint says is wrong with the document at `path` against `schema`; empty when valid.
inline QString schemaProblems(const QString& xmllint, const QString& schema, const QString& path)
{
    QProcess lint;
    lint.start(xmllint, {QStringLiteral("--noout"), QStringLiteral("--schema"), schema, path});
    if (!lint.waitForFinished(60000))
        return QStringLiteral("xmllint did not finish");
    if (lint.exitStatus() == QProcess::NormalExit && lint.exitCode() == 0)
        return {};
    return QString::fromLocal8Bit(lint.readAllStandardError()).trimmed();
}

// Checks the GPX file at `path` against the GPX 1.1 schema, skipping / failing when xmllint or
// the schema is missing.
#define GYRENA_VERIFY_GPX_SCHEMA(path)                                                             \
    do {                                                                                           \
        GYRENA_REQUIRE_PROGRAM(xmllint, "xmllint", "test");                                        \
        const QString gpxSchema = schemaFile(QStringLiteral("Topografix_gpx11.xsd"));              \
        if (gpxSchema.isEmpty())                                                                   \
            GYRENA_SKIP_OR_FAIL(QStringLiteral("the GPX 1.1 schema is missing: run "               \
                                               "scripts/schemas.sh (ctest does it first)"));       \
        const QString problems = schemaProblems(xmllint, gpxSchema, (path));                       \
        QVERIFY2(problems.isEmpty(), qPrintable(problems));                                        \
    } while (false)
