#pragma once
// The field widgets of the materials editor: line and memo fields that keep
// what a load puts into them but hold the user's edits to a length limit, the
// material lists that report their opening, the help links, and the grid the
// fields of a page are laid out in.
#include "projects/lengthlimit.h"
#include "projects/materialsql.h"
#include "db/columnlimits.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <functional>

class QGridLayout;

namespace qv::projects {

// The values a save writes, each with the caption of its field on screen
// (`captions` by column; a column missing there is named by itself).
QList<db::FieldValue> CaptionedFields(const ColumnValues &values, const QHash<QString, QString> &captions);

// A one-line field. Text set by code is kept whole, however long; typing and
// pasting stop at the limit (0 = no limit); deleting always works.
class MaterialLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit MaterialLineEdit(QWidget *parent = nullptr, int limit = 0);
    int limit() const { return m_limit; }
    int countedLength() const { return static_cast<int>(text().size()); }

private:
    void followChange();
    void holdUserEdit(const QString &text);

    int m_limit;
    QString m_previous;
    QString m_current;
    bool m_fixing = false;
};

// A multi-line field. Its stored text uses CR LF line breaks (a text loaded
// with bare line feeds keeps them); a line break counts two for its limit and
// its counter, as it does in the stored text.
class MaterialMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MaterialMemo(QWidget *parent = nullptr, int limit = 0);
    int limit() const { return m_limit; }

    // Sets the stored text from code (a load or a copy): kept whole.
    void setStoredText(const QString &text);
    QString storedText() const;
    // The text as shown, with "\n" for every line break.
    QString displayText() const;
    int countedLength() const;

private:
    void followChange();

    int m_limit;
    QString m_lineBreak = QStringLiteral("\r\n");
    QString m_last;
    bool m_programmatic = false;
};

// A drop-down list of material names that runs `onDropDown` just before it
// opens. Entries carry the material's id as their data.
class MaterialList : public QComboBox {
    Q_OBJECT
public:
    explicit MaterialList(QWidget *parent = nullptr);
    std::function<void()> onDropDown;
    void showPopup() override;

    // The id of the entry shown, 0 when there is none.
    int currentId() const;
    // Index of the entry with this id, -1 when there is none.
    int indexOfId(int id) const;
};

// Navy underlined text with a hand cursor that reacts to a click.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString &text, QWidget *parent = nullptr);
Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// The fields of a material page in two columns, filled row by row from the
// top: each field below its caption, across both columns or two side by side.
class FieldGrid {
public:
    FieldGrid();
    // The widget that holds the grid (it goes into the page's scroll area).
    QWidget *content() const { return m_content; }

    MaterialLineEdit *line(const char *name, int limit = 0);
    MaterialMemo *memo(const char *name, int limit = 0);
    // The length counter of a limited field, right-aligned.
    QLabel *counter(const char *name);
    // A caption (with the field's counter beside it) and the field below it,
    // across both columns.
    void wide(const QString &caption, QWidget *field, QLabel *count = nullptr);
    // Two captions side by side and their fields below them.
    void pair(const QString &left, QWidget *a, const QString &right, QWidget *b);
    // A row of its own across both columns.
    void across(QWidget *w);
    // Two fields sharing one cell (telephone and fax).
    QWidget *sideBySide(QWidget *a, QWidget *b);
    // The room left over goes below the last row.
    void end();

private:
    QWidget *m_content;
    QGridLayout *m_grid;
    int m_row = 0;
};

} // namespace qv::projects
