#include "core/inifile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace qv::core {

namespace {
bool isSectionLine(const QString &line, QString *name = nullptr)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return false;
    const qsizetype end = t.indexOf(QLatin1Char(']'));
    if (end < 0)
        return false;
    if (name)
        *name = t.mid(1, end - 1).trimmed();
    return true;
}

bool splitKey(const QString &line, QString *key, QString *value)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')))
        return false;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    *key = line.left(eq).trimmed();
    if (value)
        *value = line.mid(eq + 1);
    return true;
}
} // namespace

QString DecodeLocalText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        // Files written by older tools and editors are in the Windows code page.
        QStringDecoder cp1251("windows-1251");
        text = cp1251.decode(bytes);
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

namespace {
// Why TEXT is not a settings file: the first line that is neither blank, a
// comment, a section header nor key=value; empty when every line is one.
QString notSettings(const QByteArray &bytes, const QStringList &lines)
{
    if (bytes.contains('\0'))
        return QStringLiteral("это не текстовый файл");
    for (int i = 0; i < lines.size(); ++i) {
        const QString t = lines[i].trimmed();
        QString key;
        if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')) || isSectionLine(t)
            || (splitKey(t, &key, nullptr) && !key.isEmpty()))
            continue;
        return QStringLiteral("строка %1 (\"%2\") не заголовок раздела и не строка ключ=значение").arg(i + 1).arg(t.left(60));
    }
    return QString();
}
} // namespace

void IniFile::open(const QString &path)
{
    m_path = path;
    m_lines.clear();
    m_readError.clear();
    const QFileInfo info(path);
    m_exists = info.exists() || info.isSymLink();
    if (!m_exists) {
        m_readError = QStringLiteral("файла нет");
        return;
    }
    if (info.isDir()) {
        m_readError = QStringLiteral("это папка, а не файл");
        return;
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        m_readError = QStringLiteral("файл не читается (") + f.errorString() + QLatin1Char(')');
        return;
    }
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        m_readError = QStringLiteral("файл не читается (") + f.errorString() + QLatin1Char(')');
        return;
    }
    QString text = DecodeLocalText(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    const QString why = notSettings(bytes, lines);
    if (!why.isEmpty()) {
        m_readError = QStringLiteral("это не файл настроек: ") + why;
        return;
    }
    m_lines = lines;
}

int IniFile::findSection(const QString &section) const
{
    for (int i = 0; i < m_lines.size(); ++i) {
        QString name;
        if (isSectionLine(m_lines[i], &name) && name.compare(section, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int IniFile::findKey(int sectionLine, const QString &key) const
{
    for (int i = sectionLine + 1; i < m_lines.size(); ++i) {
        if (isSectionLine(m_lines[i]))
            break;
        QString k;
        if (splitKey(m_lines[i], &k, nullptr) && k.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool IniFile::contains(const QString &section, const QString &key) const
{
    const int s = findSection(section);
    return s >= 0 && findKey(s, key) >= 0;
}

QString IniFile::readString(const QString &section, const QString &key, const QString &def) const
{
    const int s = findSection(section);
    if (s < 0)
        return def;
    const int k = findKey(s, key);
    if (k < 0)
        return def;
    QString name, value;
    splitKey(m_lines[k], &name, &value);
    // Blanks around a value are the file's layout, not the value.
    return value.trimmed();
}

int IniFile::readInteger(const QString &section, const QString &key, int def) const
{
    if (!contains(section, key))
        return def;
    const QString v = readString(section, key).trimmed();
    qsizetype i = 0;
    if (i < v.size() && (v[i] == QLatin1Char('-') || v[i] == QLatin1Char('+')))
        ++i;
    while (i < v.size() && v[i].isDigit())
        ++i;
    bool ok = false;
    const int n = v.left(i).toInt(&ok);
    return ok ? n : 0;
}

bool IniFile::writeString(const QString &section, const QString &key, const QString &text)
{
    // What is read back stays what the file holds.
    const QStringList before = m_lines;
    if (setValue(section, key, text))
        return true;
    m_lines = before;
    return false;
}

bool IniFile::setValue(const QString &section, const QString &key, const QString &text)
{
    // A line break would end the line and start another key.
    QString value = text;
    value.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    int s = findSection(section);
    if (s < 0) {
        if (!m_lines.isEmpty() && !m_lines.last().trimmed().isEmpty())
            m_lines.append(QString());
        m_lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        m_lines.append(key + QLatin1Char('=') + value);
        return save();
    }
    const int k = findKey(s, key);
    if (k >= 0) {
        QString name;
        splitKey(m_lines[k], &name, nullptr);
        m_lines[k] = name + QLatin1Char('=') + value;
        return save();
    }
    // After the section's last key line.
    int insertAt = s + 1;
    for (int i = s + 1; i < m_lines.size() && !isSectionLine(m_lines[i]); ++i) {
        QString k;
        if (splitKey(m_lines[i], &k, nullptr))
            insertAt = i + 1;
    }
    m_lines.insert(insertAt, key + QLatin1Char('=') + value);
    return save();
}

bool IniFile::save()
{
    m_error.clear();
    if (m_path.isEmpty()) {
        m_error = QStringLiteral("не указано, где лежит файл");
        return false;
    }
    // What could not be read is not replaced by the few keys written.
    if (m_exists && !m_readError.isEmpty()) {
        m_error = QStringLiteral("файл не прочитан: ") + m_readError;
        return false;
    }
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly)) {
        m_error = f.errorString();
        return false;
    }
    f.write(m_lines.join(QLatin1Char('\n')).toUtf8());
    f.write("\n");
    if (!f.commit()) {
        m_error = f.errorString();
        return false;
    }
    return true;
}

QString IniWriteFailedMessage(const IniFile &ini, const QString &consequence)
{
    QString text = QStringLiteral("Не удалось записать настройки в файл \"") + QDir::toNativeSeparators(ini.path())
                   + QStringLiteral("\": ") + ini.errorString() + QLatin1Char('.');
    if (!consequence.isEmpty())
        text += QLatin1Char('\r') + consequence;
    return text;
}

QString SettingsFileProblem(const IniFile &ini, const QString &section, const QStringList &required)
{
    const QString file = QStringLiteral("Файл настроек \"") + QDir::toNativeSeparators(ini.path()) + QStringLiteral("\"");
    QString what;
    if (!ini.readError().isEmpty()) {
        what = file + QStringLiteral(": ") + ini.readError() + QLatin1Char('.');
    } else {
        QStringList missing;
        for (const QString &key : required)
            if (!ini.contains(section, key))
                missing << key;
        if (missing.isEmpty())
            return QString();
        what = file
               + (missing.size() == 1 ? QStringLiteral(": в разделе [%1] нет ключа %2.")
                                      : QStringLiteral(": в разделе [%1] нет ключей %2."))
                     .arg(section, missing.join(QStringLiteral(", ")));
    }
    return what
           + QStringLiteral("\rБез него программа не может подключиться к базе данных: исправьте файл и запустите "
                            "программу снова.");
}

} // namespace qv::core
