#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// The settings file held in memory. Sections and keys keep the order in which they were
// first read or written, names are matched without regard to letter case, and sections and
// keys the program does not use are kept and written back.
class IniStore {
public:
    explicit IniStore(QString FileName = {});

    const QString& FileName() const { return FFileName; }

    // Reads the file whole, replacing what the store held. A missing file leaves the store
    // empty; a file that is there but cannot be read throws std::runtime_error.
    void Load();

    // Reads the text of a settings file: UTF-8, a leading byte-order mark skipped.
    void Parse(const QByteArray& Bytes);

    // The value of Key in Section, or Default when there is no such key.
    QString ReadString(const QString& Section, const QString& Key, const QString& Default) const;
    void WriteString(const QString& Section, const QString& Key, const QString& Value);

    QStringList Sections() const;
    QStringList Keys(const QString& Section) const;

    // The whole store as the file holds it: UTF-8 with a byte-order mark, CR LF line ends,
    // an empty line after each section.
    QByteArray ToBytes() const;

    // Replaces the file with ToBytes() through a temporary file in the same folder and a
    // rename, so a crash cannot leave half a file. Throws std::runtime_error on failure.
    void UpdateFile() const;

private:
    struct Entry {
        QString Key;
        QString Value;
    };
    struct Section {
        QString Name;
        std::vector<Entry> Entries;
    };

    const Section* FindSection(const QString& Name) const;
    Section& SectionFor(const QString& Name);

    QString FFileName;
    std::vector<Section> FSections;
};
