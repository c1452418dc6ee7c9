#pragma once
// "config.ini": sections and keys compared without regard to letter case,
// values read without the blanks around them. Writes go to the file at
// once; a value written loses its line breaks.
#include <QString>
#include <QStringList>

namespace qv::core {

// Text of a local file (settings, migrations): UTF-8 when the bytes are valid
// UTF-8, else the Windows code page windows-1251; a byte-order mark dropped.
QString DecodeLocalText(const QByteArray &bytes);

class IniFile {
public:
    IniFile() = default;
    explicit IniFile(const QString &path) { open(path); }

    // Reads the file; a missing or unreadable file reads as empty.
    void open(const QString &path);
    const QString &path() const { return m_path; }
    // Why the file opened last could not be taken as settings (missing, a
    // folder, unreadable, not an INI text); empty when it was read. A file
    // that is there but was not read is never written over.
    const QString &readError() const { return m_readError; }
    bool exists() const { return m_exists; }

    bool contains(const QString &section, const QString &key) const;
    QString readString(const QString &section, const QString &key, const QString &def = QString()) const;
    // Leading whole number of the value; `def` when the key is missing, 0 when it holds no number.
    int readInteger(const QString &section, const QString &key, int def) const;
    bool readBool(const QString &section, const QString &key, bool def) const
    {
        return readInteger(section, key, def ? 1 : 0) != 0;
    }
    // Sets the value (adding the section or key when missing) and saves the
    // file. When the file cannot be saved, nothing changes (not even what is
    // read back in this run) and errorString() says why.
    bool writeString(const QString &section, const QString &key, const QString &value);
    // Why the last write failed; empty after a write that was saved.
    const QString &errorString() const { return m_error; }

private:
    int findSection(const QString &section) const;
    int findKey(int sectionLine, const QString &key) const;
    bool setValue(const QString &section, const QString &key, const QString &value);
    bool save();

    QString m_path;
    QStringList m_lines;
    QString m_error;
    QString m_readError;
    bool m_exists = false;
};

// The message for a setting that could not be written to the file: the file,
// the reason, and what that means to the user (`consequence`, may be empty).
QString IniWriteFailedMessage(const IniFile &ini, const QString &consequence);

// What keeps the settings file from being used: it cannot be read, is not a
// settings file, or lacks one of `required` keys of `section`. The message
// names the file and the fault; empty when there is none.
QString SettingsFileProblem(const IniFile &ini, const QString &section, const QStringList &required);

} // namespace qv::core
