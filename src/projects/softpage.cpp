// How the software page shows a stored version and what its save writes.
#include "projects/softlists.h"
#include "projects/softpage.h"
#include "projects/tfrmprojectmaterials_fields.h"
#include "db/query.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QGroupBox>
#include <QListWidget>

namespace qv::projects {

namespace {
QList<bool> checkStates(const QListWidget *list)
{
    QList<bool> out;
    for (int i = 0; i < list->count(); ++i)
        out << (list->item(i)->checkState() == Qt::Checked);
    return out;
}

QStringList itemTexts(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

void setCheckStates(QListWidget *list, const QList<bool> &checked)
{
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setCheckState(i < checked.size() && checked[i] ? Qt::Checked : Qt::Unchecked);
}

// The item equal to the stored text in any letter case; no match keeps the selection.
void selectNoCase(QComboBox *combo, const QString &stored)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    const int index = FindItemNoCase(items, stored);
    if (index >= 0)
        combo->setCurrentIndex(index);
}
} // namespace

std::optional<QDate> DateFromStored(const QString &stored)
{
    if (stored.size() < 10)
        return std::nullopt;
    bool okY = false, okM = false, okD = false;
    const int y = stored.mid(0, 4).toInt(&okY);
    const int m = stored.mid(5, 2).toInt(&okM);
    const int d = stored.mid(8, 2).toInt(&okD);
    if (!okY || !okM || !okD)
        return std::nullopt;
    const QDate date(y, m, d);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString DateForStorage(const QDate &date) { return date.toString(QStringLiteral("yyyy-MM-dd")); }

QHash<QString, QString> SoftPage::values() const
{
    QHash<QString, QString> v;
    for (const auto &[e, column] : m_typed)
        v.insert(column, e->text());
    v.insert(QStringLiteral("smaterial_releasedate"), DateForStorage(dtpReleaseDate1->date()));
    v.insert(QStringLiteral("smaterial_type"), cmbType1->currentText());
    v.insert(QStringLiteral("smaterial_releasestatus"), cmbReleaseStatus1->currentText());
    v.insert(QStringLiteral("smaterial_install"), cmbInstall1->currentText());
    v.insert(QStringLiteral("smaterial_CategoryClass"), cmbCategoryClass1->currentText());
    v.insert(QStringLiteral("smaterial_Category"), cmbCategory1->currentText());
    v.insert(QStringLiteral("smaterial_Languages"), CheckedItemsText(itemTexts(clbLanguages1), checkStates(clbLanguages1)));
    v.insert(QStringLiteral("smaterial_OS"), CheckedItemsText(itemTexts(clbOS1), checkStates(clbOS1)));
    const bool expires = cbExpExists->isChecked();
    v.insert(QStringLiteral("smaterial_ExpExists"), expires ? QStringLiteral("1") : QStringLiteral("0"));
    v.insert(QStringLiteral("smaterial_ExpDays"), edtExpDays->text());
    v.insert(QStringLiteral("smaterial_ExpUses"), edtExpUses->text());
    v.insert(QStringLiteral("smaterial_ExpOther"), edtExpOther->text());
    v.insert(QStringLiteral("smaterial_ExpDate"),
             expires && cbExpDate->isChecked() ? DateForStorage(dtpExpDate->date()) : QString());
    return v;
}

void SoftPage::showRow(const db::QueryResult &result, const db::Row &row)
{
    auto field = [&](const char *column) { return result.field(row, QLatin1String(column)); };
    for (const auto &[e, column] : m_typed)
        e->setText(result.field(row, column));

    // A NULL (never saved) or unreadable date leaves the picker as it was.
    const int release = result.fieldNames().indexOf(QStringLiteral("smaterial_releasedate"));
    if (release >= 0 && !row.isNull(release)) {
        if (const auto date = DateFromStored(row.value(release)))
            dtpReleaseDate1->setDate(*date);
    }

    selectNoCase(cmbType1, field("smaterial_type"));
    selectNoCase(cmbInstall1, field("smaterial_install"));
    selectNoCase(cmbReleaseStatus1, field("smaterial_releasestatus"));
    selectNoCase(cmbCategoryClass1, field("smaterial_CategoryClass"));
    selectNoCase(cmbCategory1, field("smaterial_Category"));
    setCheckStates(clbLanguages1, CheckedItemsFromText(itemTexts(clbLanguages1), field("smaterial_Languages")));
    setCheckStates(clbOS1, CheckedItemsFromText(itemTexts(clbOS1), field("smaterial_OS")));

    cbExpExists->setChecked(false);
    cbExpDate->setChecked(false);
    expirySwitched();
    if (field("smaterial_ExpExists") == QLatin1String("1")) {
        cbExpExists->setChecked(true);
        expirySwitched();
        edtExpDays->setText(field("smaterial_ExpDays"));
        edtExpUses->setText(field("smaterial_ExpUses"));
        edtExpOther->setText(field("smaterial_ExpOther"));
        // The zero date (and an empty one) means no date.
        if (const auto date = DateFromStored(field("smaterial_ExpDate"))) {
            dtpExpDate->setDate(*date);
            cbExpDate->setChecked(true);
        }
    }
}

void SoftPage::expirySwitched()
{
    if (!cbExpExists->isChecked()) {
        edtExpDays->clear();
        edtExpUses->clear();
        edtExpOther->clear();
        gbExp->setEnabled(false);
        cbExpDate->setChecked(false);
    } else {
        gbExp->setEnabled(true);
    }
}

LanguageTexts SoftPage::texts() const
{
    LanguageTexts t;
    t.keywords = edtKeywords1->text();
    t.description45 = edt45Description1->text();
    t.description80 = edt80Description1->text();
    t.description250 = mem250Description1->displayText();
    t.description450 = mem450Description1->displayText();
    t.description2000 = mem2000Description1->displayText();
    return t;
}

void SoftPage::setTexts(const LanguageTexts &t)
{
    edtKeywords1->setText(t.keywords);
    edt45Description1->setText(t.description45);
    edt80Description1->setText(t.description80);
    mem2000Description1->setStoredText(t.description2000);
    mem450Description1->setStoredText(t.description450);
    mem250Description1->setStoredText(t.description250);
}

QList<QWidget *> SoftPage::descriptionFields() const
{
    return {edtKeywords1, edt45Description1, edt80Description1, mem250Description1, mem450Description1, mem2000Description1};
}

void SoftPage::reset()
{
    for (const auto &[e, column] : m_typed)
        e->clear();
    for (MaterialLineEdit *e : m_webEdits)
        e->setText(QStringLiteral("http://"));
    dtpReleaseDate1->setDate(QDate::currentDate());
    dtpExpDate->setDate(QDate::currentDate());
    for (QComboBox *c : {cmbType1, cmbReleaseStatus1, cmbInstall1, cmbCategoryClass1, cmbCategory1})
        c->setCurrentIndex(-1);
    setCheckStates(clbLanguages1, {});
    setCheckStates(clbOS1, {});
    cbExpExists->setChecked(false);
    expirySwitched();
    setTexts(LanguageTexts());
    textsLoaded = false;
}

} // namespace qv::projects
