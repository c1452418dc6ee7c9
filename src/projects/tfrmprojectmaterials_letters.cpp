// The materials editor's mailing letters (tab 3).
#include "projects/materialsnavigation.h"
#include "projects/tfrmprojectmaterials.h"
#include "projects/tfrmprojectmaterials_fields.h"
#include "core/appcontext.h"
#include "core/prompt.h"
#include "mainview/mainview.h"
#include "db/database.h"
#include "db/query.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace qv::projects {

using core::prompt;

QWidget *TfrmProjectMaterials::buildLetterPage()
{
    auto *page = new QWidget;
    auto *v = new QVBoxLayout(page);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);

    cbOMaterials = new MaterialList;
    cbOMaterials->setObjectName(QStringLiteral("cbOMaterials"));
    btnMessageSave = stripButton(QStringLiteral("btnMessageSave"), QStringLiteral("Сохранить письмо"));
    btnOMaterialNew = stripButton(QStringLiteral("btnOMaterialNew"), QStringLiteral("Новое письмо"));
    Label4 = new LinkLabel(QStringLiteral("Справка и полезные советы по email рассылке >>"));
    Label4->setObjectName(QStringLiteral("Label4"));
    v->addWidget(headerStrip(page, QStringLiteral("Письма:"), false, cbOMaterials, {btnMessageSave, btnOMaterialNew}, Label4));

    auto *content = new QWidget;
    auto *c = new QVBoxLayout(content);
    c->addWidget(new QLabel(QStringLiteral("Тема письма:"), content));
    edtSubject = new MaterialLineEdit(content);
    edtSubject->setObjectName(QStringLiteral("edtSubject"));
    c->addWidget(edtSubject);
    c->addWidget(new QLabel(QStringLiteral("Текст письма (в виде текста)"), content));
    memBody = new MaterialMemo(content);
    memBody->setObjectName(QStringLiteral("memBody"));
    c->addWidget(memBody, 1);

    ScrollBox5 = scrollArea(page, QStringLiteral("ScrollBox5"), content);
    v->addWidget(ScrollBox5, 1);

    connect(edtSubject, &QLineEdit::textChanged, this, [this] { markEdited(LetterTab); });
    connect(memBody, &QPlainTextEdit::textChanged, this, [this] { markEdited(LetterTab); });
    connect(btnMessageSave, &QPushButton::clicked, this, [this] { btnMessageSaveClick(); });
    connect(btnOMaterialNew, &QPushButton::clicked, this, [this] { btnOMaterialNewClick(); });
    return page;
}

void TfrmProjectMaterials::clearLetterFields()
{
    edtSubject->clear();
    memBody->setStoredText(QString());
}

void TfrmProjectMaterials::cbOMaterialsChange()
{
    m_ctx.CurrentMaterialName = cbOMaterials->currentText();
    loadMaterial(LetterTab, MaterialKind::Letter, cbOMaterials->currentId(), LetterFromRow, [this](const Letter &d) {
        edtSubject->setText(d.subject);
        memBody->setStoredText(d.body);
    });
}

void TfrmProjectMaterials::btnMessageSaveClick()
{
    static const QHash<QString, QString> captions{
        {QStringLiteral("omaterial_subject"), QStringLiteral("Тема письма:")},
        {QStringLiteral("omaterial_body_text"), QStringLiteral("Текст письма (в виде текста)")}};
    const Letter d{edtSubject->text(), memBody->storedText()};
    saveLoaded(LetterTab, MaterialKind::Letter, CaptionedFields(LetterColumns(d), captions),
               [&d](const LoadedMaterial &l) { return LetterUpdateSql(d, l.id, l.projectId); });
}

void TfrmProjectMaterials::btnOMaterialNewClick()
{
    if (!projectChosen())
        return;
    createMaterial(NewMaterial{
        .caption = QStringLiteral("Создание нового письма"),
        .label = QStringLiteral("Введите название письма:"),
        .byNameSql = [](const QString &name, int projectId) { return MaterialByNameSql(MaterialKind::Letter, name, projectId); },
        .taken = QStringLiteral("Такое письмо для данного проекта есть, нужно придумать другое описание!"),
        .insertSql = [](const QString &name, int projectId) -> std::optional<QString> { return LetterNewSql(name, projectId); },
        // The new letter becomes the active one of the main window.
        .addToMain =
            [this](const QString &name, int id) {
                if (!m_main)
                    return;
                m_main->cbOMaterials->addItem(name, id);
                m_main->cbOMaterials->setCurrentIndex(m_main->cbOMaterials->count() - 1);
                if (m_main->materials)
                    m_main->materials->cbOMaterialsChange();
            },
        .list = cbOMaterials,
        .show = [this](int, int) { cbOMaterialsChange(); }});
}

} // namespace qv::projects
