#include "projects/tfrmprojectmaterials_fields.h"
#include "controls/anylength.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QTextCursor>
#include <QTextDocument>

namespace qv::projects {

QList<db::FieldValue> CaptionedFields(const ColumnValues &values, const QHash<QString, QString> &captions)
{
    QList<db::FieldValue> out;
    out.reserve(values.size());
    for (const auto &[column, value] : values)
        out.append(db::FieldValue{column, captions.value(column, column), value});
    return out;
}

MaterialLineEdit::MaterialLineEdit(QWidget *parent, int limit) : QLineEdit(parent), m_limit(limit)
{
    setMaxLength(controls::kNoMaxLength);
    // textChanged comes with every change, textEdited only with the user's
    // own edits (the two in either order).
    connect(this, &QLineEdit::textChanged, this, &MaterialLineEdit::followChange);
    if (m_limit > 0)
        connect(this, &QLineEdit::textEdited, this, &MaterialLineEdit::holdUserEdit);
}

void MaterialLineEdit::followChange()
{
    // The field's own text: a signal that was on its way while a cut was
    // made carries the text from before the cut.
    if (text() == m_current)
        return;
    m_previous = m_current;
    m_current = text();
}

void MaterialLineEdit::holdUserEdit(const QString &text)
{
    if (m_fixing)
        return;
    const QString &before = m_current == text ? m_previous : m_current;
    const LimitedText kept = LimitUserEdit(before, text, m_limit, LineBreaks::CountOne);
    if (!kept.cut)
        return;
    m_fixing = true;
    setText(kept.text);
    setCursorPosition(kept.cursor);
    m_fixing = false;
}

MaterialMemo::MaterialMemo(QWidget *parent, int limit) : QPlainTextEdit(parent), m_limit(limit)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(this, &QPlainTextEdit::textChanged, this, &MaterialMemo::followChange);
}

void MaterialMemo::setStoredText(const QString &text)
{
    m_lineBreak = StoredLineBreak(text);
    m_programmatic = true;
    setPlainText(MemoDisplayText(text));
    m_programmatic = false;
    m_last = displayText();
}

QString MaterialMemo::storedText() const { return MemoStoredText(displayText(), m_lineBreak); }

QString MaterialMemo::displayText() const
{
    QString text = document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

int MaterialMemo::countedLength() const { return CountedLength(displayText(), LineBreaks::CountTwo); }

void MaterialMemo::followChange()
{
    const QString now = displayText();
    if (!m_programmatic && m_limit > 0) {
        const LimitedText kept = LimitUserEdit(m_last, now, m_limit, LineBreaks::CountTwo);
        if (kept.cut) {
            // Take out what did not fit, right after the part that did.
            m_programmatic = true;
            QTextCursor c(document());
            c.setPosition(kept.cursor);
            c.setPosition(kept.cursor + static_cast<int>(now.size() - kept.text.size()), QTextCursor::KeepAnchor);
            c.removeSelectedText();
            m_programmatic = false;
            QTextCursor shown = textCursor();
            shown.setPosition(kept.cursor);
            setTextCursor(shown);
        }
    }
    if (!m_programmatic)
        m_last = displayText();
}

MaterialList::MaterialList(QWidget *parent) : QComboBox(parent) { setEditable(false); }

void MaterialList::showPopup()
{
    if (onDropDown)
        onDropDown();
    QComboBox::showPopup();
}

int MaterialList::currentId() const { return currentIndex() < 0 ? 0 : currentData().toInt(); }

int MaterialList::indexOfId(int id) const { return findData(id); }

LinkLabel::LinkLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setStyleSheet(QStringLiteral("color: navy; text-decoration: underline;"));
    setCursor(Qt::PointingHandCursor);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
    QLabel::mouseReleaseEvent(event);
}

FieldGrid::FieldGrid() : m_content(new QWidget), m_grid(new QGridLayout(m_content)) {}

MaterialLineEdit *FieldGrid::line(const char *name, int limit)
{
    auto *e = new MaterialLineEdit(m_content, limit);
    e->setObjectName(QLatin1String(name));
    return e;
}

MaterialMemo *FieldGrid::memo(const char *name, int limit)
{
    auto *m = new MaterialMemo(m_content, limit);
    m->setObjectName(QLatin1String(name));
    return m;
}

QLabel *FieldGrid::counter(const char *name)
{
    auto *label = new QLabel(m_content);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

void FieldGrid::wide(const QString &caption, QWidget *field, QLabel *count)
{
    m_grid->addWidget(new QLabel(caption, m_content), m_row, 0, 1, count ? 1 : 2);
    if (count)
        m_grid->addWidget(count, m_row, 1);
    ++m_row;
    m_grid->addWidget(field, m_row++, 0, 1, 2);
}

void FieldGrid::pair(const QString &left, QWidget *a, const QString &right, QWidget *b)
{
    m_grid->addWidget(new QLabel(left, m_content), m_row, 0);
    m_grid->addWidget(new QLabel(right, m_content), m_row++, 1);
    m_grid->addWidget(a, m_row, 0);
    m_grid->addWidget(b, m_row++, 1);
}

void FieldGrid::across(QWidget *w) { m_grid->addWidget(w, m_row++, 0, 1, 2); }

QWidget *FieldGrid::sideBySide(QWidget *a, QWidget *b)
{
    auto *both = new QWidget(m_content);
    auto *h = new QHBoxLayout(both);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(a);
    h->addWidget(b);
    return both;
}

void FieldGrid::end() { m_grid->setRowStretch(m_row, 1); }

} // namespace qv::projects
