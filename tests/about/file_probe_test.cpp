#include "about/file_probe.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

#ifdef Q_OS_WIN
// Windows marks hidden and system files by attributes; elsewhere a name that
// starts with "." hides a file.
void setAttribute(const QString& path, DWORD attribute)
{
    const QString native = QDir::toNativeSeparators(path);
    ASSERT_TRUE(SetFileAttributesW(reinterpret_cast<LPCWSTR>(native.utf16()), attribute));
}
#endif

TEST(SystemFileProbe, OnlyVisibleRegularFilesCount)
{
    QTemporaryDir temporary;
    ASSERT_TRUE(temporary.isValid());
    // A folder with blanks and characters outside ASCII in its name.
    const QDir folder(temporary.filePath(QStringLiteral("Prüf Ordner 情報")));
    ASSERT_TRUE(folder.mkpath("."));
    const auto create = [&](const QString& name) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    };
    create("MSINFO32.EXE");
    create(".hidden");
    ASSERT_TRUE(folder.mkdir("folder.exe"));
#ifdef Q_OS_WIN
    create("hidden.exe");
    create("system.exe");
    setAttribute(folder.filePath("hidden.exe"), FILE_ATTRIBUTE_HIDDEN);
    setAttribute(folder.filePath("system.exe"), FILE_ATTRIBUTE_SYSTEM);
#else
    ASSERT_TRUE(QFile::link(folder.filePath("MSINFO32.EXE"), folder.filePath("link.exe")));
#endif

    const struct {
        QString path;
        bool ordinary;
    } cases[] = {
        {folder.filePath("MSINFO32.EXE"), true},
        {QDir::toNativeSeparators(folder.filePath("MSINFO32.EXE")), true},
#ifdef Q_OS_WIN
        {folder.filePath("hidden.exe"), false},
        {folder.filePath("system.exe"), false},
#else
        {folder.filePath("link.exe"), true},
        {folder.filePath(".hidden"), false},
#endif
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
