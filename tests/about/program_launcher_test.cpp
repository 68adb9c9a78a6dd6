#include "about/program_launcher.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(DetachedProgramLauncher, StartsThePathAsOneProgramOrReportsFailure)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    // "tool" exists; "tool with blanks" does not. Splitting the second path
    // at its blanks would start the first.
    const QString tool = folder.filePath("tool");
    ASSERT_TRUE(QFile::copy("/bin/true", tool));

    const struct {
        QString program;
        bool started;
    } cases[] = {
        {tool, true},
        {tool + " with blanks", false},
        {folder.filePath("missing"), false},
        {folder.path(), false},
        {"", false},
    };
    vexa::DetachedProgramLauncher launcher;
    for (const auto& c : cases)
        EXPECT_EQ(launcher.startDetached(c.program), c.started) << c.program.toStdString();
}

} // namespace
