#include "app/inistore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

IniStore Parsed(const char* Text)
{
    IniStore store;
    store.Parse(QByteArray(Text));
    return store;
}

TEST(IniStoreRead, LineRules)
{
    const IniStore store = Parsed(
        "\xEF\xBB\xBF"
        "Lost=before any section\r\n"
        "  [Form]  \r\n"
        "; a comment\r\n"
        "\r\n"
        "  MainLeft = 0x64  \n"
        "Formula=a=b\r"
        "Flag\r\n"
        "[Other]\r\n"
        "Key=one\r\n"
        "[form]\r\n"
        "MainTop=7\r\n"
        "mainleft=12\r\n");
    EXPECT_EQ(store.Sections(), (QStringList{QStringLiteral("Form"), QStringLiteral("Other")}));
    EXPECT_EQ(store.Keys(QStringLiteral("FORM")),
              (QStringList{QStringLiteral("MainLeft"), QStringLiteral("Formula"), QStringLiteral("Flag"),
                           QStringLiteral("MainTop")}));
    const QString none = QStringLiteral("<none>");
    EXPECT_EQ(store.ReadString(QStringLiteral("form"), QStringLiteral("MAINLEFT"), none), QStringLiteral("12"));
    EXPECT_EQ(store.ReadString(QStringLiteral("Form"), QStringLiteral("Formula"), none), QStringLiteral("a=b"));
    EXPECT_EQ(store.ReadString(QStringLiteral("Form"), QStringLiteral("Flag"), none), QString());
    EXPECT_EQ(store.ReadString(QStringLiteral("Form"), QStringLiteral("Lost"), none), none);
    EXPECT_EQ(store.ReadString(QStringLiteral("Missing"), QStringLiteral("Key"), none), none);
}

TEST(IniStoreWrite, UsesBomCrLfAndKeepsOrder)
{
    IniStore store = Parsed("[B]\nz=1\n[A]\ny=\xE6\x9D\xB1\n");
    store.WriteString(QStringLiteral("a"), QStringLiteral("Y"), QStringLiteral("2"));
    store.WriteString(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("3"));
    store.WriteString(QStringLiteral("C"), QStringLiteral("w"), QString());
    EXPECT_EQ(store.ToBytes(), QByteArray("\xEF\xBB\xBF[B]\r\nz=1\r\n\r\n[A]\r\ny=2\r\nx=3\r\n\r\n[C]\r\nw=\r\n\r\n"));

    const IniStore utf8 = Parsed("[A]\nname=\xE6\x9D\xB1\xE4\xBA\xAC\n");
    EXPECT_EQ(utf8.ReadString(QStringLiteral("A"), QStringLiteral("name"), QString()), QStringLiteral(u"東京"));
    EXPECT_TRUE(utf8.ToBytes().contains("name=\xE6\x9D\xB1\xE4\xBA\xAC\r\n"));
}

TEST(IniStoreFile, MissingFileIsEmptyUnreadableThrows)
{
    QTemporaryDir dir;
    IniStore missing(dir.filePath(QStringLiteral("none.ini")));
    EXPECT_NO_THROW(missing.Load());
    EXPECT_TRUE(missing.Sections().isEmpty());

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.ini")));
    IniStore folder(dir.filePath(QStringLiteral("folder.ini")));
    EXPECT_THROW(folder.Load(), std::runtime_error);
}

TEST(IniStoreFile, UpdateReplacesWholeFileOrLeavesItAlone)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("t.ini"));
    {
        QFile old(name);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("[Old]\r\nk=a much longer line than the new content will be\r\n");
    }
    IniStore store(name);
    store.Load();
    store.WriteString(QStringLiteral("Old"), QStringLiteral("k"), QStringLiteral("v"));
    store.UpdateFile();
    QFile written(name);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("\xEF\xBB\xBF[Old]\r\nk=v\r\n\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("t.ini")}) << "no temporary left";

    IniStore nowhere(dir.filePath(QStringLiteral("no/such/folder/t.ini")));
    EXPECT_THROW(nowhere.UpdateFile(), std::runtime_error);
}

}  // namespace
