#include "about/file_probe.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(SystemFileProbe, OnlyVisibleRegularFilesCount)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const auto create = [&](const QString& name) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    };
    create("MSINFO32.EXE");
    create(".hidden");
    ASSERT_TRUE(QDir(folder.path()).mkdir("folder.exe"));
    ASSERT_TRUE(QFile::link(folder.filePath("MSINFO32.EXE"), folder.filePath("link.exe")));

    const struct {
        QString path;
        bool ordinary;
    } cases[] = {
        {folder.filePath("MSINFO32.EXE"), true},
        {folder.filePath("link.exe"), true},
        {folder.filePath(".hidden"), false},
        {folder.filePath("folder.exe"), false},
        {folder.filePath("missing.exe"), false},
        {folder.path(), false},
        {"", false},
    };
    vexa::SystemFileProbe probe;
    for (const auto& c : cases)
        EXPECT_EQ(probe.isOrdinaryFile(c.path), c.ordinary) << c.path.toStdString();
}

} // namespace
