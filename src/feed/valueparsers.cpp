#include "feed/valueparsers.h"

#include "core/rounding.h"

#include <nlohmann/json.hpp>

#include <QStringList>

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace {

std::optional<double> ReadDouble(const QString& Text)
{
    // The agency writes "." as the decimal point whatever the locale.
    QByteArray bytes = Text.toUtf8();
    if (bytes.startsWith('+') && bytes.size() > 1 && bytes[1] != '-' && bytes[1] != '+')
        bytes.remove(0, 1);
    double value = 0;
    const char* end = bytes.constData() + bytes.size();
    const auto [ptr, ec] = std::from_chars(bytes.constData(), end, value);
    if (ec != std::errc() || ptr != end || bytes.isEmpty())
        return std::nullopt;
    return value;
}

std::optional<std::int32_t> ReadInt(const QString& Text)
{
    QByteArray bytes = Text.toUtf8();
    if (bytes.startsWith('+') && bytes.size() > 1 && bytes[1] != '-')
        bytes.remove(0, 1);
    std::int32_t value = 0;
    const char* end = bytes.constData() + bytes.size();
    const auto [ptr, ec] = std::from_chars(bytes.constData(), end, value);
    if (ec != std::errc() || ptr != end || bytes.isEmpty())
        return std::nullopt;
    return value;
}

std::optional<float> ToSingle(std::optional<double> Value)
{
    if (!Value || !std::isfinite(*Value) || std::fabs(*Value) > std::numeric_limits<float>::max())
        return std::nullopt;
    return static_cast<float>(*Value);
}

QString DepthText(const QString& Piece)
{
    const double below = -static_cast<double>(StrToIntZero(Piece));
    if (below <= 0)
        return QStringLiteral("ごく浅い");
    return QString::number(static_cast<qint64>(RoundHalfEven(below / 1000.0))) + QStringLiteral("km");
}

float DegreesFromPiece(const QString& Piece)
{
    const float value = StrToFloatZero(Piece);
    return value > 180 ? DegMinToDegree(Piece) : value;
}

}  // namespace

QString JsonText(const nlohmann::json& Value)
{
    switch (Value.type()) {
    case nlohmann::json::value_t::string:
        return QString::fromStdString(Value.get_ref<const std::string&>());
    case nlohmann::json::value_t::object:
    case nlohmann::json::value_t::array:
    case nlohmann::json::value_t::discarded:
        return {};
    default:
        return QString::fromStdString(Value.dump());
    }
}

TDateTime JsonStrToDateTime(const QString& Text)
{
    if (Text.size() < 19)
        return {};
    const auto piece = [&](int from, int length) { return ReadInt(Text.mid(from - 1, length)); };
    const auto year = piece(1, 4), month = piece(6, 2), day = piece(9, 2);
    const auto hour = piece(12, 2), minute = piece(15, 2), second = piece(18, 2);
    if (!year || !month || !day || !hour || !minute || !second)
        return {};
    const QDate date(*year, *month, *day);
    const QTime time(*hour, *minute, *second);
    if (*year < 1 || !date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time, Qt::UTC);
}

float StrToFloatZero(const QString& Text)
{
    return ToSingle(ReadDouble(Text)).value_or(0.0f);
}

std::int32_t StrToIntZero(const QString& Text)
{
    return ReadInt(Text).value_or(0);
}

void CodToEpicenter(const QString& Text, TJmaRec& Rec)
{
    QString marked;
    marked.reserve(Text.size() * 2);
    for (const QChar c : Text) {
        if (c == u'/')
            continue;
        if (c == u'+' || c == u'-')
            marked += u',';
        marked += c;
    }
    const QStringList pieces = marked.split(u',');
    Rec.Epicenter = {};
    Rec.Depth = QStringLiteral("-");
    if (pieces.size() >= 3) {
        Rec.Epicenter.Y = DegreesFromPiece(pieces[1]);
        Rec.Epicenter.X = DegreesFromPiece(pieces[2]);
    }
    if (pieces.size() >= 4)
        Rec.Depth = DepthText(pieces[3]);
}

float DegMinToDegree(const QString& Text)
{
    float result = StrToFloatZero(Text);
    QString rest = Text;
    bool negative = false;
    if (rest.startsWith(u'+')) {
        rest.remove(0, 1);
    } else if (rest.startsWith(u'-')) {
        rest.remove(0, 1);
        negative = true;
    }
    const QStringList parts = rest.split(u'.');
    const QString whole = parts[0];
    const auto degrees = ReadInt(whole.left(whole.size() - 2));
    if (whole.size() < 2 || !degrees)
        return result;
    result = static_cast<float>(*degrees);
    QString minutesText = whole.right(2);
    if (parts.size() > 1)
        minutesText += u'.' + parts[1];
    const auto minutes = ReadDouble(minutesText);
    if (!minutes)
        return result;
    const float value = static_cast<float>(*degrees + *minutes / 60.0);
    return negative ? -value : value;
}
