#include "app/settings.h"

#include "core/folder.h"
#include "core/log.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

QByteArray ReadAll(const QString& Name)
{
    QFile file(Name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& Name, const QByteArray& Bytes)
{
    QFile file(Name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Bytes);
}

class Settings : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        SetAppFolder(Dir.path());
    }
    void TearDown() override { SetAppFolder(QString()); }

    static TSettings LoadText(const QByteArray& Text, const QLocale& Locale = QLocale::c())
    {
        IniStore store;
        store.Parse(Text);
        return LoadSettings(store, Locale);
    }

    QTemporaryDir Dir;
};

const QByteArray DefaultFile =
    "\xEF\xBB\xBF"
    "[Form]\r\nMainLeft=200\r\nMainTop=200\r\nTitleColor=$FF87CEFA\r\n\r\n"
    "[MapColor]\r\nIsSeaMono=0\r\nSeaMono=$FF3070FF\r\nSeaGrad1=$FF50A0FF\r\nSeaGrad2=$FF4070FF\r\n"
    "IsJapanMono=0\r\nJapanMono=$FF008000\r\nJapanGrad1=$FF2E8B57\r\nJapanGrad2=$FF404040\r\n"
    "IsForeignDraw=1\r\nIsForeignMono=0\r\nForeignMono=$FF2B56FF\r\nForeignGrad1=$FF778899\r\n"
    "ForeignGrad2=$FF404040\r\nIsKenkyoDraw=1\r\nKenkyoBlend=0.30\r\n\r\n";

TEST_F(Settings, MissingFileGivesDefaultsAndWritesTheEighteenKeys)
{
    EXPECT_EQ(SettingsFileName(), Dir.filePath(QStringLiteral("Tavrel.ini")));
    auto store = OpenSettings(SettingsFileName());
    ASSERT_TRUE(store);
    const TSettings loaded = LoadSettings(*store, QLocale::c());
    EXPECT_EQ(loaded.MainLeft, 200);
    EXPECT_EQ(loaded.MainTop, 200);
    EXPECT_EQ(loaded.TitleColor, 0xFF87CEFAu);
    EXPECT_EQ(loaded.MapColors.SeaGrad1, TDrawMapRec{}.SeaGrad1);
    EXPECT_FLOAT_EQ(loaded.MapColors.KenkyoBlend, 0.3f);
    SaveSettings(*store, loaded, QLocale::c());
    EXPECT_EQ(ReadAll(SettingsFileName()), DefaultFile);
}

TEST_F(Settings, ValueFormats)
{
    struct Case {
        const char* Name;
        const char* Line;  // under [Form] or [MapColor] as the key needs
        std::function<bool(const TSettings&)> Holds;
    } cases[] = {
        {"hex 0x", "[Form]\nMainLeft=0x64", [](const TSettings& s) { return s.MainLeft == 100; }},
        {"hex $", "[Form]\nMainLeft=$64", [](const TSettings& s) { return s.MainLeft == 100; }},
        {"hex x", "[Form]\nMainLeft=X1f", [](const TSettings& s) { return s.MainLeft == 31; }},
        {"negative", "[Form]\nMainLeft=-5", [](const TSettings& s) { return s.MainLeft == -5; }},
        {"plus", "[Form]\nMainLeft=+7", [](const TSettings& s) { return s.MainLeft == 7; }},
        {"int max", "[Form]\nMainLeft=2147483647", [](const TSettings& s) { return s.MainLeft == 2147483647; }},
        {"int min", "[Form]\nMainLeft=-2147483648", [](const TSettings& s) { return s.MainLeft == INT32_MIN; }},
        {"above int range", "[Form]\nMainLeft=2147483648", [](const TSettings& s) { return s.MainLeft == 200; }},
        {"eight hex digits", "[Form]\nMainLeft=$FFFFFFFF", [](const TSettings& s) { return s.MainLeft == -1; }},
        {"nine hex digits", "[Form]\nMainLeft=$0FFFFFFFF", [](const TSettings& s) { return s.MainLeft == 200; }},
        {"text after number", "[Form]\nMainLeft=1 2", [](const TSettings& s) { return s.MainLeft == 200; }},
        {"decimal point", "[Form]\nMainLeft=1.5", [](const TSettings& s) { return s.MainLeft == 200; }},
        {"bare prefix", "[Form]\nMainLeft=0x", [](const TSettings& s) { return s.MainLeft == 200; }},
        {"empty", "[Form]\nMainTop=", [](const TSettings& s) { return s.MainTop == 200; }},
        {"bool yes", "[MapColor]\nIsSeaMono=yes", [](const TSettings& s) { return !s.MapColors.IsSeaMono; }},
        {"bool 2", "[MapColor]\nIsSeaMono=2", [](const TSettings& s) { return s.MapColors.IsSeaMono; }},
        {"bool yes, default true", "[MapColor]\nIsForeignDraw=yes",
         [](const TSettings& s) { return s.MapColors.IsForeignDraw; }},
        {"bool 0", "[MapColor]\nIsKenkyoDraw=0", [](const TSettings& s) { return !s.MapColors.IsKenkyoDraw; }},
        {"colour lower case", "[MapColor]\nSeaMono=$ff000000",
         [](const TSettings& s) { return s.MapColors.SeaMono == 0xFF000000u; }},
        {"colour decimal", "[MapColor]\nJapanMono=255", [](const TSettings& s) { return s.MapColors.JapanMono == 255u; }},
        {"float", "[MapColor]\nKenkyoBlend=0.75", [](const TSettings& s) { return s.MapColors.KenkyoBlend == 0.75f; }},
        {"float text", "[MapColor]\nKenkyoBlend=abc", [](const TSettings& s) { return s.MapColors.KenkyoBlend == 0.3f; }},
        {"float comma in C locale", "[MapColor]\nKenkyoBlend=0,5",
         [](const TSettings& s) { return s.MapColors.KenkyoBlend == 0.3f; }},
        {"float nan", "[MapColor]\nKenkyoBlend=nan", [](const TSettings& s) { return s.MapColors.KenkyoBlend == 0.3f; }},
        {"float kept outside 0..1", "[MapColor]\nKenkyoBlend=2", [](const TSettings& s) { return s.MapColors.KenkyoBlend == 2.0f; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_TRUE(c.Holds(LoadText(c.Line)));
    }
}

TEST_F(Settings, WrittenForms)
{
    struct Case {
        const char* Name;
        const char* Read;
        const char* Written;
        QLocale Locale;
    } cases[] = {
        {"integer back in decimal", "[Form]\r\nMainLeft=0x64", "MainLeft=100\r\n", QLocale::c()},
        {"bool as 1", "[MapColor]\r\nIsSeaMono=2", "IsSeaMono=1\r\n", QLocale::c()},
        {"bool as 0", "[MapColor]\r\nIsSeaMono=yes", "IsSeaMono=0\r\n", QLocale::c()},
        {"colour upper case", "[MapColor]\r\nSeaMono=$ff000000", "SeaMono=$FF000000\r\n", QLocale::c()},
        {"colour padded", "[MapColor]\r\nSeaMono=255", "SeaMono=$000000FF\r\n", QLocale::c()},
        {"float two decimals", "[MapColor]\r\nKenkyoBlend=0.5", "KenkyoBlend=0.50\r\n", QLocale::c()},
        {"float three significant digits", "[MapColor]\r\nKenkyoBlend=0.999", "KenkyoBlend=1.00\r\n", QLocale::c()},
        {"float above ten", "[MapColor]\r\nKenkyoBlend=12.345", "KenkyoBlend=12.30\r\n", QLocale::c()},
        {"locale decimal comma", "[MapColor]\r\nKenkyoBlend=0,25", "KenkyoBlend=0,25\r\n", QLocale(QLocale::German)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        IniStore store(SettingsFileName());
        store.Parse(c.Read);
        SaveSettings(store, LoadSettings(store, c.Locale), c.Locale);
        EXPECT_TRUE(ReadAll(SettingsFileName()).contains(c.Written)) << ReadAll(SettingsFileName()).constData();
    }
}

TEST_F(Settings, UnknownSectionsAndKeysSurviveARun)
{
    WriteAll(SettingsFileName(),
             "[Extra]\r\nNote=kept\r\n[Form]\r\nMainTop=5\r\nWindowState=max\r\nMainLeft=9\r\n"
             "[MapColor]\r\nKenkyoBlend=0.5\r\n");
    auto store = OpenSettings(SettingsFileName());
    ASSERT_TRUE(store);
    TSettings values = LoadSettings(*store, QLocale::c());
    EXPECT_EQ(values.MainLeft, 9);
    values.MainLeft = 300;
    SaveSettings(*store, values, QLocale::c());
    const QByteArray file = ReadAll(SettingsFileName());
    EXPECT_TRUE(file.startsWith("\xEF\xBB\xBF[Extra]\r\nNote=kept\r\n\r\n"
                                "[Form]\r\nMainTop=5\r\nWindowState=max\r\nMainLeft=300\r\nTitleColor=$FF87CEFA\r\n\r\n"
                                "[MapColor]\r\nKenkyoBlend=0.50\r\nIsSeaMono=0\r\n"))
        << file.constData();
}

TEST_F(Settings, BadColourTakesItsDefaultAndLoadingGoesOn)
{
    const TSettings s = LoadText("[Form]\nTitleColor=blue\n[MapColor]\nSeaMono=$FF000000\nJapanGrad1=green");
    EXPECT_EQ(s.TitleColor, 0xFF87CEFAu);
    EXPECT_EQ(s.MapColors.SeaMono, 0xFF000000u);
    EXPECT_EQ(s.MapColors.JapanGrad1, TDrawMapRec{}.JapanGrad1);
    const QByteArray log = ReadAll(LogFilePath());
    EXPECT_TRUE(log.contains("TMainForm.LoadSettings-TitleColor: \"blue\"")) << log.constData();
    EXPECT_TRUE(log.contains("TMainForm.LoadSettings-JapanGrad1: \"green\"")) << log.constData();
}

TEST_F(Settings, UnwritableFileIsLoggedAndTheOldFileKept)
{
    IniStore store(Dir.filePath(QStringLiteral("missing/Tavrel.ini")));
    EXPECT_NO_THROW(SaveSettings(store, TSettings{}, QLocale::c()));
    EXPECT_TRUE(ReadAll(LogFilePath()).contains("TMainForm.SaveSettings-"));
}

TEST_F(Settings, UnreadableFileGivesNoStore)
{
    ASSERT_TRUE(QDir(Dir.path()).mkdir(QStringLiteral("Tavrel.ini")));
    EXPECT_EQ(OpenSettings(SettingsFileName()), nullptr);
    EXPECT_TRUE(ReadAll(LogFilePath()).contains("TMainForm.LoadSettings-"));
}

}  // namespace
