#include "app/inistore.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <stdexcept>

namespace {

bool SameName(const QString& A, const QString& B)
{
    return A.compare(B, Qt::CaseInsensitive) == 0;
}

bool IsBlank(QChar C)
{
    return C.unicode() <= u' ';
}

QString StripBlanks(QStringView Text)
{
    qsizetype begin = 0, end = Text.size();
    while (begin < end && IsBlank(Text[begin]))
        ++begin;
    while (end > begin && IsBlank(Text[end - 1]))
        --end;
    return Text.sliced(begin, end - begin).toString();
}

std::runtime_error FileError(const QString& FileName, const QString& Message)
{
    return std::runtime_error((FileName + QStringLiteral(": ") + Message).toStdString());
}

}  // namespace

IniStore::IniStore(QString FileName) : FFileName(std::move(FileName)) {}

void IniStore::Load()
{
    FSections.clear();
    QFile file(FFileName);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(FFileName, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(FFileName, file.errorString());
    Parse(bytes);
}

void IniStore::Parse(const QByteArray& Bytes)
{
    QString text = QString::fromUtf8(Bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));

    QString section;
    bool inSection = false;
    for (QStringView raw : QStringView(text).split(QLatin1Char('\n'))) {
        const QString line = StripBlanks(raw);
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.size() >= 2 && line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2);
            inSection = true;
            SectionFor(section);
            continue;
        }
        if (!inSection)
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            WriteString(section, line, QString());
        else
            WriteString(section, StripBlanks(QStringView(line).first(eq)), StripBlanks(QStringView(line).sliced(eq + 1)));
    }
}

QString IniStore::ReadString(const QString& Section, const QString& Key, const QString& Default) const
{
    const auto* section = FindSection(Section);
    if (!section)
        return Default;
    for (const Entry& entry : section->Entries)
        if (SameName(entry.Key, Key))
            return entry.Value;
    return Default;
}

void IniStore::WriteString(const QString& Section, const QString& Key, const QString& Value)
{
    auto& entries = SectionFor(Section).Entries;
    const auto it = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return SameName(e.Key, Key); });
    if (it != entries.end())
        it->Value = Value;
    else
        entries.push_back({Key, Value});
}

QStringList IniStore::Sections() const
{
    QStringList names;
    for (const Section& section : FSections)
        names << section.Name;
    return names;
}

QStringList IniStore::Keys(const QString& Section) const
{
    QStringList keys;
    if (const auto* section = FindSection(Section))
        for (const Entry& entry : section->Entries)
            keys << entry.Key;
    return keys;
}

QByteArray IniStore::ToBytes() const
{
    QString text;
    for (const Section& section : FSections) {
        text += QLatin1Char('[') + section.Name + QStringLiteral("]\r\n");
        for (const Entry& entry : section.Entries)
            text += entry.Key + QLatin1Char('=') + entry.Value + QStringLiteral("\r\n");
        text += QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

void IniStore::UpdateFile() const
{
    QSaveFile file(FFileName);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(FFileName, file.errorString());
    file.write(ToBytes());
    if (!file.commit())
        throw FileError(FFileName, file.errorString());
}

const IniStore::Section* IniStore::FindSection(const QString& Name) const
{
    const auto it = std::find_if(FSections.begin(), FSections.end(), [&](const Section& s) { return SameName(s.Name, Name); });
    return it == FSections.end() ? nullptr : &*it;
}

IniStore::Section& IniStore::SectionFor(const QString& Name)
{
    const auto it = std::find_if(FSections.begin(), FSections.end(), [&](const Section& s) { return SameName(s.Name, Name); });
    if (it != FSections.end())
        return *it;
    FSections.push_back({Name, {}});
    return FSections.back();
}
