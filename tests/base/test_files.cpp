#include "files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Sets TARNWICK_DATA_DIR (null: unsets it) for one scope.
struct ScopedDataDir {
    static constexpr const char *kName = "TARNWICK_DATA_DIR";
    const bool had = qEnvironmentVariableIsSet(kName);
    const QByteArray old = qgetenv(kName);
    explicit ScopedDataDir(const QString &value)
    {
        value.isNull() ? qunsetenv(kName) : qputenv(kName, QFile::encodeName(value));
    }
    ~ScopedDataDir() { had ? qputenv(kName, old) : qunsetenv(kName); }
};

void Touch(const QString &file)
{
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

} // namespace

TEST(ShippedFile, IsFoundWhereverThePrefixIs)
{
    QTemporaryDir root;
    const QString prefix = root.filePath(QStringLiteral("opt/some prefix"));
    Touch(prefix + QStringLiteral("/share/tarnwick/known.lst"));
    Touch(prefix + QStringLiteral("/share/tarnwick/help/index.html"));
    QDir().mkpath(prefix + QStringLiteral("/bin"));
    QTemporaryDir own;
    Touch(own.filePath(QStringLiteral("known.lst")));

    // dataDir: TARNWICK_DATA_DIR; null = unset
    struct Case { const char *what; QString dataDir; QString programFolder; QString name; QString expected; };
    const Case cases[] = {
        {"installed", {}, prefix + "/bin", "known.lst", prefix + "/share/tarnwick/known.lst"},
        {"a file below a folder", {}, prefix + "/bin", "help/index.html",
         prefix + "/share/tarnwick/help/index.html"},
        {"the user's own folder first", own.path(), prefix + "/bin", "known.lst",
         own.filePath("known.lst")},
        {"own folder without the file", own.path(), prefix + "/bin", "help/index.html",
         prefix + "/share/tarnwick/help/index.html"},
        // No folder of the build machine is compiled in.
        {"a program away from its files", {}, root.filePath("build/src/ui"), "known.lst", {}},
        {"shipped nowhere", {}, prefix + "/bin", "no-such-file.txt", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const ScopedDataDir env(c.dataDir);
        EXPECT_EQ(ShippedFileIn(c.programFolder, c.name), QDir::cleanPath(c.expected));
    }
}

// The build tree links the source tree's data folder beside the programs.
TEST(ShippedFile, TheRunningProgramFindsTheSourceTreeCopy)
{
    const ScopedDataDir env{QString()};
    EXPECT_EQ(QFileInfo(ShippedFile(QStringLiteral("harptune.wav"))).canonicalFilePath(),
              QFileInfo(QStringLiteral(TARNWICK_SOURCE_DIR "/data/harptune.wav")).canonicalFilePath());
}
