#pragma once

// A German locale (decimal comma) for tests that must show that a number written to a file or
// to standard output ignores the user's locale. The locale is compiled once per run with
// localedef into a temporary folder and switched on through LOCPATH, so the machine needs no
// installed locale; in CI (CI=true) a missing localedef fails the test instead of skipping it.

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <clocale>
#include <cstdlib>
#include <memory>
#include <string>

class GermanLocale
{
public:
    // Switches the C library (LC_ALL) and Qt's default QLocale to German; the destructor puts
    // both back. `failure()` says why it could not, empty when it did.
    GermanLocale()
    {
        const QString& dir = localeFolder();
        if (dir.isEmpty()) {
            m_failure = s_why;
            return;
        }
        m_oldLocPath = qgetenv("LOCPATH");
        m_oldLocale = std::setlocale(LC_ALL, nullptr);
        qputenv("LOCPATH", QFile::encodeName(dir));
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) {
            m_failure = "setlocale(LC_ALL, \"de_DE.UTF-8\") failed";
            restoreEnvironment();
            return;
        }
        if (std::strtod("51.5", nullptr) == 51.5) {
            m_failure = "the generated locale does not use a decimal comma";
            std::setlocale(LC_ALL, m_oldLocale.c_str());
            restoreEnvironment();
            return;
        }
        m_oldQLocale = QLocale();
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        m_active = true;
    }
    ~GermanLocale()
    {
        if (!m_active)
            return;
        QLocale::setDefault(m_oldQLocale);
        std::setlocale(LC_ALL, m_oldLocale.c_str());
        restoreEnvironment();
    }
    GermanLocale(const GermanLocale&) = delete;
    GermanLocale& operator=(const GermanLocale&) = delete;

    QString failure() const { return m_failure; }

    // The folder holding de_DE.UTF-8, for a child process's LOCPATH; empty when it cannot be
    // made (then `s_why` says why).
    static const QString& localeFolder()
    {
        static std::unique_ptr<QTemporaryDir> dir;
        static QString path;
        static bool tried = false;
        if (tried)
            return path;
        tried = true;
        dir = std::make_unique<QTemporaryDir>();
        if (!dir->isValid()) {
            s_why = "no temporary folder";
            return path;
        }
        QProcess localedef;
        localedef.start("localedef", {"-i", "de_DE", "-f", "UTF-8", dir->filePath("de_DE.UTF-8")});
        if (!localedef.waitForFinished(120000) || localedef.exitStatus() != QProcess::NormalExit) {
            s_why = "localedef did not run (install Debian's locales package): " +
                    localedef.errorString();
            return path;
        }
        // localedef exits 1 for mere warnings; the compiled locale is what counts.
        if (!QFileInfo::exists(dir->filePath("de_DE.UTF-8/LC_NUMERIC"))) {
            s_why = "localedef failed: " + QString::fromLocal8Bit(localedef.readAll());
            return path;
        }
        path = dir->path();
        return path;
    }

private:
    void restoreEnvironment()
    {
        if (m_oldLocPath.isNull())
            qunsetenv("LOCPATH");
        else
            qputenv("LOCPATH", m_oldLocPath);
    }

    static inline QString s_why;
    QString m_failure;
    QByteArray m_oldLocPath;
    std::string m_oldLocale;
    QLocale m_oldQLocale;
    bool m_active = false;
};

// Skips the test when the German locale cannot be had, or fails it in CI (CI=true).
#define GYRENA_REQUIRE_GERMAN(locale)                                                              \
    do {                                                                                           \
        if (!(locale).failure().isEmpty()) {                                                       \
            const QByteArray why = ("German locale unavailable: " + (locale).failure()).toUtf8();  \
            if (qEnvironmentVariable("CI") == QLatin1String("true"))                               \
                QFAIL(why.constData());                                                            \
            QSKIP(why.constData());                                                                \
        }                                                                                          \
    } while (false)
