#include "app/settings.h"

#include "core/folder.h"
#include "core/log.h"

#include <QDir>

#include <cmath>
#include <stdexcept>

namespace {

const QString FormSection = QStringLiteral("Form");
const QString MapSection = QStringLiteral("MapColor");
const QString LoadName = QStringLiteral("TMainForm.LoadSettings");
const QString SaveName = QStringLiteral("TMainForm.SaveSettings");

int HexDigit(QChar C)
{
    const char16_t c = C.unicode();
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

std::optional<std::uint32_t> ParseHex(QStringView Digits)
{
    if (Digits.isEmpty() || Digits.size() > 8)
        return std::nullopt;
    std::uint32_t value = 0;
    for (QChar c : Digits) {
        const int digit = HexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    return value;
}

std::optional<std::uint32_t> ParseDecimal(QStringView Digits, bool Negative)
{
    if (Digits.isEmpty())
        return std::nullopt;
    const std::int64_t limit = Negative ? 2147483648LL : 2147483647LL;
    std::int64_t value = 0;
    for (QChar c : Digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

QString ColourText(TAlphaColor Color)
{
    return QStringLiteral("$%1").arg(Color, 8, 16, QLatin1Char('0')).toUpper();
}

int ReadInteger(const IniStore& Store, const QString& Section, const QString& Key, int Default)
{
    return ParseSettingsInt(Store.ReadString(Section, Key, QString())).value_or(Default);
}

bool ReadBool(const IniStore& Store, const QString& Key, bool Default)
{
    return ReadInteger(Store, MapSection, Key, Default ? 1 : 0) != 0;
}

// A colour that is not a number takes its default instead of stopping the start-up.
TAlphaColor ReadColour(const IniStore& Store, const QString& Section, const QString& Key, TAlphaColor Default)
{
    const QString text = Store.ReadString(Section, Key, ColourText(Default));
    if (const auto value = ParseSettingsInt(text))
        return static_cast<TAlphaColor>(*value);
    WriteLog(LoadName, QStringLiteral("%1: \"%2\" is not a colour, using %3").arg(Key, text, ColourText(Default)));
    return Default;
}

QLocale NumberLocale(const QLocale& Locale)
{
    QLocale locale(Locale);
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}

float ReadFloat(const IniStore& Store, const QString& Key, float Default, const QLocale& Locale)
{
    const QString text = Store.ReadString(MapSection, Key, QString());
    bool ok = false;
    const float value = NumberLocale(Locale).toFloat(text, &ok);
    return ok && std::isfinite(value) ? value : Default;
}

// Three significant digits, shown with two decimals: 0.3 is "0.30".
QString FloatText(float Value, const QLocale& Locale)
{
    const double rounded = QString::number(static_cast<double>(Value), 'g', 3).toDouble();
    return NumberLocale(Locale).toString(rounded, 'f', 2);
}

void WriteBool(IniStore& Store, const QString& Key, bool Value)
{
    Store.WriteString(MapSection, Key, Value ? QStringLiteral("1") : QStringLiteral("0"));
}

void WriteColour(IniStore& Store, const QString& Section, const QString& Key, TAlphaColor Value)
{
    Store.WriteString(Section, Key, ColourText(Value));
}

}  // namespace

std::optional<std::int32_t> ParseSettingsInt(QStringView Text)
{
    qsizetype pos = 0;
    while (pos < Text.size() && (Text[pos] == u' ' || Text[pos] == u'\t'))
        ++pos;
    bool negative = false;
    if (pos < Text.size() && (Text[pos] == u'-' || Text[pos] == u'+'))
        negative = Text[pos++] == u'-';
    const QStringView rest = Text.sliced(pos);
    std::optional<std::uint32_t> magnitude;
    if (rest.startsWith(u'$') || rest.startsWith(u'x', Qt::CaseInsensitive))
        magnitude = ParseHex(rest.sliced(1));
    else if (rest.startsWith(u"0x", Qt::CaseInsensitive))
        magnitude = ParseHex(rest.sliced(2));
    else
        magnitude = ParseDecimal(rest, negative);
    if (!magnitude)
        return std::nullopt;
    // the 32-bit pattern is the value: "$FFFFFFFF" is -1, "-$1" is -1 too
    return static_cast<std::int32_t>(negative ? 0u - *magnitude : *magnitude);
}

QString SettingsFileName()
{
    return AppFolder() + QDir::separator() + QStringLiteral("Tavrel.ini");
}

std::unique_ptr<IniStore> OpenSettings(const QString& FileName)
{
    auto store = std::make_unique<IniStore>(FileName);
    try {
        store->Load();
    } catch (const std::exception& e) {
        WriteLog(LoadName, QString::fromUtf8(e.what()));
        return nullptr;
    }
    return store;
}

TSettings LoadSettings(const IniStore& Store, const QLocale& Locale)
{
    TSettings s;
    s.MainLeft = ReadInteger(Store, FormSection, QStringLiteral("MainLeft"), s.MainLeft);
    s.MainTop = ReadInteger(Store, FormSection, QStringLiteral("MainTop"), s.MainTop);
    s.TitleColor = ReadColour(Store, FormSection, QStringLiteral("TitleColor"), s.TitleColor);

    TDrawMapRec& m = s.MapColors;
    m.IsSeaMono = ReadBool(Store, QStringLiteral("IsSeaMono"), m.IsSeaMono);
    m.SeaMono = ReadColour(Store, MapSection, QStringLiteral("SeaMono"), m.SeaMono);
    m.SeaGrad1 = ReadColour(Store, MapSection, QStringLiteral("SeaGrad1"), m.SeaGrad1);
    m.SeaGrad2 = ReadColour(Store, MapSection, QStringLiteral("SeaGrad2"), m.SeaGrad2);
    m.IsJapanMono = ReadBool(Store, QStringLiteral("IsJapanMono"), m.IsJapanMono);
    m.JapanMono = ReadColour(Store, MapSection, QStringLiteral("JapanMono"), m.JapanMono);
    m.JapanGrad1 = ReadColour(Store, MapSection, QStringLiteral("JapanGrad1"), m.JapanGrad1);
    m.JapanGrad2 = ReadColour(Store, MapSection, QStringLiteral("JapanGrad2"), m.JapanGrad2);
    m.IsForeignDraw = ReadBool(Store, QStringLiteral("IsForeignDraw"), m.IsForeignDraw);
    m.IsForeignMono = ReadBool(Store, QStringLiteral("IsForeignMono"), m.IsForeignMono);
    m.ForeignMono = ReadColour(Store, MapSection, QStringLiteral("ForeignMono"), m.ForeignMono);
    m.ForeignGrad1 = ReadColour(Store, MapSection, QStringLiteral("ForeignGrad1"), m.ForeignGrad1);
    m.ForeignGrad2 = ReadColour(Store, MapSection, QStringLiteral("ForeignGrad2"), m.ForeignGrad2);
    m.IsKenkyoDraw = ReadBool(Store, QStringLiteral("IsKenkyoDraw"), m.IsKenkyoDraw);
    m.KenkyoBlend = ReadFloat(Store, QStringLiteral("KenkyoBlend"), m.KenkyoBlend, Locale);
    return s;
}

void SaveSettings(IniStore& Store, const TSettings& Values, const QLocale& Locale)
{
    Store.WriteString(FormSection, QStringLiteral("MainLeft"), QString::number(Values.MainLeft));
    Store.WriteString(FormSection, QStringLiteral("MainTop"), QString::number(Values.MainTop));
    WriteColour(Store, FormSection, QStringLiteral("TitleColor"), Values.TitleColor);

    const TDrawMapRec& m = Values.MapColors;
    WriteBool(Store, QStringLiteral("IsSeaMono"), m.IsSeaMono);
    WriteColour(Store, MapSection, QStringLiteral("SeaMono"), m.SeaMono);
    WriteColour(Store, MapSection, QStringLiteral("SeaGrad1"), m.SeaGrad1);
    WriteColour(Store, MapSection, QStringLiteral("SeaGrad2"), m.SeaGrad2);
    WriteBool(Store, QStringLiteral("IsJapanMono"), m.IsJapanMono);
    WriteColour(Store, MapSection, QStringLiteral("JapanMono"), m.JapanMono);
    WriteColour(Store, MapSection, QStringLiteral("JapanGrad1"), m.JapanGrad1);
    WriteColour(Store, MapSection, QStringLiteral("JapanGrad2"), m.JapanGrad2);
    WriteBool(Store, QStringLiteral("IsForeignDraw"), m.IsForeignDraw);
    WriteBool(Store, QStringLiteral("IsForeignMono"), m.IsForeignMono);
    WriteColour(Store, MapSection, QStringLiteral("ForeignMono"), m.ForeignMono);
    WriteColour(Store, MapSection, QStringLiteral("ForeignGrad1"), m.ForeignGrad1);
    WriteColour(Store, MapSection, QStringLiteral("ForeignGrad2"), m.ForeignGrad2);
    WriteBool(Store, QStringLiteral("IsKenkyoDraw"), m.IsKenkyoDraw);
    Store.WriteString(MapSection, QStringLiteral("KenkyoBlend"), FloatText(m.KenkyoBlend, Locale));

    try {
        Store.UpdateFile();
    } catch (const std::exception& e) {
        WriteLog(SaveName, QString::fromUtf8(e.what()));
    }
}
