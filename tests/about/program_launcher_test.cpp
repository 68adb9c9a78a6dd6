#include "about/program_launcher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// A program that ends at once; on Windows one built beside the tests.
#ifdef Q_OS_WIN
QString shortLivedProgram()
{
    wchar_t tests[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, tests, MAX_PATH);
    return QFileInfo(QString::fromWCharArray(tests, length)).dir().filePath("short_lived_program.exe");
}
const QString kProgram = shortLivedProgram();
const QString kSuffix = QStringLiteral(".exe");
#else
const QString kProgram = QStringLiteral("/bin/true");
const QString kSuffix;
#endif

TEST(DetachedProgramLauncher, StartsThePathAsOneProgramOrReportsFailure)
{
    QTemporaryDir temporary;
    ASSERT_TRUE(temporary.isValid());
    const QDir folder(temporary.filePath(QStringLiteral("Prüf Ordner 情報")));
    ASSERT_TRUE(folder.mkpath("."));
    // "tool" exists; "tool with blanks" does not. Splitting the second path
    // at its blanks, as a command line is split, would start the first.
    const QString tool = folder.filePath("tool" + kSuffix);
    ASSERT_TRUE(QFile::copy(kProgram, tool));

    const struct {
        QString program;
        bool started;
    } cases[] = {
        {tool, true},
        {QDir::toNativeSeparators(tool), true},
        {QDir::toNativeSeparators(folder.filePath("tool with blanks" + kSuffix)), false},
        {folder.filePath("missing" + kSuffix), false},
        {folder.path(), false},
        {"", false},
    };
    vexa::DetachedProgramLauncher launcher;
    for (const auto& c : cases)
        EXPECT_EQ(launcher.startDetached(c.program), c.started) << c.program.toStdString();
}

} // namespace
