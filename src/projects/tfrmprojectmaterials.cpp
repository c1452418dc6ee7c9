// The materials editor window: its tabs, the unsaved-edit prompt, the length
// counters, scrolling, the help links and the file-size button. The tabs' own
// loads, saves and new materials are in the files beside this one.
#include "projects/tfrmprojectmaterials.h"
#include "projects/tfrmprojectmaterials_fields.h"
#include "core/appcontext.h"
#include "core/prompt.h"
#include "db/database.h"
#include "db/query.h"

#include <QCloseEvent>
#include <QFile>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace qv::projects {

using core::prompt;

namespace {
const char *const kSavePrompt = "Вы не сохранили редактирования материала. Сохранить редактирование?";
constexpr int kWheelStep = 20;
} // namespace

TfrmProjectMaterials::TfrmProjectMaterials(core::AppContext &ctx, mainview::MainView *main, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_ctx(ctx), m_main(main)
{
    setObjectName(QStringLiteral("frmProjectMaterials"));
    setWindowTitle(QStringLiteral("Редактирование материалов проекта"));
    setFixedSize(700, 641);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    pcMaterials = new QTabWidget(this);
    pcMaterials->setObjectName(QStringLiteral("pcMaterials"));
    // The four captions, a point smaller than the window's text, stand on the
    // bar whole with the style's own margins: the window is as wide as they
    // need (700 at the least). The bar never scrolls: should a caption still
    // not fit, it is shortened ("…", its whole text in the tip) rather than a
    // tab hidden behind arrows.
    pcMaterials->setStyleSheet(QStringLiteral("QTabBar::tab { height: 27px; }"));
    QTabBar *tabs = pcMaterials->tabBar();
    QFont tabFont = tabs->font();
    if (tabFont.pointSizeF() > 8)
        tabFont.setPointSizeF(tabFont.pointSizeF() - 1);
    tabs->setFont(tabFont);
    tabs->setUsesScrollButtons(false);
    tabs->setElideMode(Qt::ElideRight);
    tabs->setExpanding(false);
    layout->addWidget(pcMaterials);

    pcMaterials->addTab(buildSoftPage(), QStringLiteral("Софт описание"));
    pcMaterials->addTab(buildSitePage(), QStringLiteral("Описания сайта и объявления для досок объявлений"));
    pcMaterials->addTab(buildForumPage(), QStringLiteral("Объявления для форумов"));
    pcMaterials->addTab(buildLetterPage(), QStringLiteral("Письма для рассылок"));
    for (int i = 0; i < pcMaterials->count(); ++i)
        pcMaterials->setTabToolTip(i, pcMaterials->tabText(i));
    setFixedWidth(qMax(700, tabs->sizeHint().width() + 2 * pcMaterials->style()->pixelMetric(QStyle::PM_DefaultFrameWidth)));
    setTab(SiteTab);

    connect(pcMaterials, &QTabWidget::currentChanged, this, [this] {
        if (!m_settingTab)
            pcMaterialsChange();
    });
    cbCMaterials->onDropDown = [this] { cbCMaterialsDropDown(); };
    cbFMaterials->onDropDown = [this] { cbFMaterialsDropDown(); };
    cbOMaterials->onDropDown = [this] { cbOMaterialsDropDown(); };
    connect(cbCMaterials, &QComboBox::activated, this, [this] { cbCMaterialsChange(); });
    connect(cbFMaterials, &QComboBox::activated, this, [this] { cbFMaterialsChange(); });
    connect(cbOMaterials, &QComboBox::activated, this, [this] { cbOMaterialsChange(); });
    connect(Label7, &LinkLabel::clicked, this, [this] { Label7Click(); });
    connect(Label5, &LinkLabel::clicked, this, [this] { Label5Click(); });
    connect(Label4, &LinkLabel::clicked, this, [this] { Label4Click(); });

    ScrollBox1->viewport()->installEventFilter(this);
    ScrollBox1->widget()->installEventFilter(this);
    ScrollBox2->viewport()->installEventFilter(this);
    ScrollBox5->viewport()->installEventFilter(this);
    FormCreate();
}

TfrmProjectMaterials::~TfrmProjectMaterials() = default;

void TfrmProjectMaterials::FormCreate()
{
    // The design texts put in while building are no edits.
    for (LoadedMaterial &l : m_loaded)
        l = LoadedMaterial();
    MaterialChanged = false;
}

QPushButton *TfrmProjectMaterials::stripButton(const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption);
    b->setObjectName(name);
    // 130 pixels, or what a longer bold caption needs.
    b->setFixedHeight(25);
    b->setMinimumWidth(130);
    b->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    QFont f = b->font();
    f.setBold(true);
    b->setFont(f);
    return b;
}

QWidget *TfrmProjectMaterials::headerStrip(QWidget *page, const QString &title, bool boldTitle, MaterialList *list,
                                           const QList<QPushButton *> &buttons, LinkLabel *help)
{
    // Two rows, so that every caption and button is whole at the window's
    // fixed width: the title with its list, then the buttons and the help link.
    auto *strip = new QWidget(page);
    strip->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto *rows = new QVBoxLayout(strip);
    rows->setContentsMargins(4, 2, 4, 2);
    rows->setSpacing(2);
    auto *top = new QHBoxLayout;
    auto *caption = new QLabel(title, strip);
    if (boldTitle) {
        QFont f = caption->font();
        f.setBold(true);
        caption->setFont(f);
    }
    top->addWidget(caption);
    list->setParent(strip);
    list->setFixedWidth(178);
    top->addWidget(list);
    top->addStretch(1);
    rows->addLayout(top);
    auto *bottom = new QHBoxLayout;
    for (QPushButton *b : buttons) {
        b->setParent(strip);
        bottom->addWidget(b);
    }
    help->setParent(strip);
    bottom->addWidget(help);
    bottom->addStretch(1);
    rows->addLayout(bottom);
    return strip;
}

QScrollArea *TfrmProjectMaterials::scrollArea(QWidget *page, const QString &name, QWidget *content)
{
    auto *area = new QScrollArea(page);
    area->setObjectName(name);
    area->setWidgetResizable(true);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setFocusPolicy(Qt::StrongFocus);
    area->setWidget(content);
    return area;
}

// ---- tabs and the prompt ----

void TfrmProjectMaterials::setTab(int index)
{
    m_settingTab = true;
    pcMaterials->setCurrentIndex(index);
    m_settingTab = false;
}

void TfrmProjectMaterials::showListedMaterial()
{
    const int tab = pcMaterials->currentIndex();
    if (tab < SoftTab || tab > LetterTab)
        return;
    const LoadedMaterial &l = m_loaded[static_cast<size_t>(tab)];
    const MaterialList *list = tab == SiteTab     ? cbCMaterials
                               : tab == ForumTab  ? cbFMaterials
                               : tab == LetterTab ? cbOMaterials
                                                  : nullptr;
    if (l.isLoaded() && l.projectId == m_ctx.CurrentProjectId && (!list || list->currentId() == l.id))
        return;
    const int activeId = m_ctx.CurrentMaterialId;
    const QString activeName = m_ctx.CurrentMaterialName;
    loadTab(tab);
    m_ctx.CurrentMaterialId = activeId;
    m_ctx.CurrentMaterialName = activeName;
}

void TfrmProjectMaterials::showEditor()
{
    show();
    raise();
    activateWindow();
}

void TfrmProjectMaterials::scrollToTop()
{
    ScrollBox1->verticalScrollBar()->setValue(0);
    ScrollBox2->verticalScrollBar()->setValue(0);
}

void TfrmProjectMaterials::focusPage()
{
    if (pcMaterials->currentIndex() == SiteTab)
        ScrollBox1->setFocus();
    else if (pcMaterials->currentIndex() == ForumTab)
        ScrollBox2->setFocus();
}

void TfrmProjectMaterials::markEdited(int tab)
{
    MaterialChanged = true;
    m_loaded[static_cast<size_t>(tab)].edited = true;
}

void TfrmProjectMaterials::askAndSave(const QList<int> &tabs)
{
    MaterialChanged = false;
    QList<int> toSave;
    for (int tab : tabs) {
        const LoadedMaterial &l = m_loaded[static_cast<size_t>(tab)];
        if (l.isLoaded() && l.edited && l.projectId == m_ctx.CurrentProjectId)
            toSave << tab;
    }
    const bool yes = prompt().question(QString::fromUtf8(kSavePrompt));
    // Whatever the answer, the pending edits are dealt with; a save that
    // fails marks its tab edited again.
    for (LoadedMaterial &l : m_loaded)
        l.edited = false;
    if (!yes)
        return;
    for (int tab : toSave)
        saveTab(tab);
}

void TfrmProjectMaterials::saveTab(int tab)
{
    switch (tab) {
    case SoftTab: btnSmaterialSaveClick(); break;
    case SiteTab: btnCMaterialSaveClick(); break;
    case ForumTab: FMaterialSaveClick(); break;
    case LetterTab: btnMessageSaveClick(); break;
    default: break;
    }
}

void TfrmProjectMaterials::loadTab(int tab)
{
    switch (tab) {
    case SoftTab: cbSMaterialsChange(); break;
    case SiteTab: cbCMaterialsChange(); break;
    case ForumTab: cbFMaterialsChange(); break;
    case LetterTab: cbOMaterialsChange(); break;
    default: break;
    }
}

void TfrmProjectMaterials::pcMaterialsChange()
{
    if (MaterialChanged)
        askAndSave({SoftTab, SiteTab, ForumTab, LetterTab});
    scrollToTop();
    loadTab(pcMaterials->currentIndex());
    focusPage();
}

bool TfrmProjectMaterials::FormCloseQuery()
{
    if (MaterialChanged)
        askAndSave({SoftTab, SiteTab, ForumTab, LetterTab});
    return true;
}

void TfrmProjectMaterials::closeEvent(QCloseEvent *event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

void TfrmProjectMaterials::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_centred && parentWidget()) {
        m_centred = true;
        const QRect owner = parentWidget()->window()->frameGeometry();
        move(owner.center() - QPoint(width() / 2, height() / 2));
    }
}

void TfrmProjectMaterials::cbCMaterialsDropDown()
{
    if (MaterialChanged)
        askAndSave({SiteTab});
}

void TfrmProjectMaterials::cbFMaterialsDropDown()
{
    if (MaterialChanged)
        askAndSave({ForumTab});
}

void TfrmProjectMaterials::cbOMaterialsDropDown()
{
    if (MaterialChanged)
        askAndSave({LetterTab});
}

void TfrmProjectMaterials::confirmPendingEdits()
{
    if (MaterialChanged)
        askAndSave({SoftTab, SiteTab, ForumTab, LetterTab});
}

void TfrmProjectMaterials::forgetProject()
{
    resetSoftPage();
    clearSiteFields();
    clearPressReleaseFields();
    clearLetterFields();
    for (QLabel *label : {lbTitle50_2, lbTitle100_2, lbTitle200_2, lbDescription100_2, lbDescription250_2, lbDescription500_2,
                          lbKeywords100_2, lbKeywords250_2, lbKeywords500_2})
        label->clear();
    // Nothing shown now belongs to a row.
    for (LoadedMaterial &l : m_loaded)
        l = LoadedMaterial();
    MaterialChanged = false;
}

bool TfrmProjectMaterials::projectChosen() const
{
    if (m_ctx.CurrentProjectId > 0)
        return true;
    prompt().message(QStringLiteral("Для работы с программой нужно выбрать проект"));
    return false;
}

std::optional<QString> TfrmProjectMaterials::askName(const QString &caption, const QString &label) const
{
    const std::optional<QString> name = prompt().input(caption, label, QString());
    if (!name || name->isEmpty())
        return std::nullopt;
    return name;
}

void TfrmProjectMaterials::createMaterial(const NewMaterial &m)
{
    const auto name = askName(m.caption, m.label);
    if (!name)
        return;
    const int projectId = m_ctx.CurrentProjectId;
    bool failed = false;
    const auto existing = db::FirstRow(m.byNameSql(*name, projectId), &failed);
    if (failed)
        return;
    if (existing) {
        prompt().message(m.taken);
        return;
    }
    const std::optional<QString> insert = m.insertSql(*name, projectId);
    if (!insert || db::ExecQuery(*insert) != 0)
        return;
    const int id = static_cast<int>(db::DbConnection().lastInsertId());
    if (m.addToMain)
        m.addToMain(*name, id);
    m.list->addItem(*name, id);
    m.list->setCurrentIndex(m.list->count() - 1);
    m.show(id, projectId);
}

std::optional<ProjectData> TfrmProjectMaterials::currentProjectData() const
{
    if (db::ExecQuery(ProjectByIdSql(m_ctx.CurrentProjectId)) != 0)
        return std::nullopt;
    db::QueryResult result(db::DbConnection());
    ProjectData p;
    if (const auto row = result.FetchRow())
        p = ProjectFromRow(result, *row);
    return p;
}

// ---- counters ----

void TfrmProjectMaterials::counter(QLabel *label, int limit, int length, bool entered)
{
    markEdited(SiteTab);
    label->setText(entered ? EnteredCounterText(length) : RemainingCounterText(limit, length));
}

void TfrmProjectMaterials::edtTitle50_2Change() { counter(lbTitle50_2, 50, edtTitle50_2->countedLength(), false); }
void TfrmProjectMaterials::edtTitle100_2Change() { counter(lbTitle100_2, 100, edtTitle100_2->countedLength(), false); }
void TfrmProjectMaterials::edtTitle200_2Change() { counter(lbTitle200_2, 200, edtTitle200_2->countedLength(), false); }

void TfrmProjectMaterials::memDescription100_2Change()
{
    counter(lbDescription100_2, 100, memDescription100_2->countedLength(), false);
}

void TfrmProjectMaterials::memDescription250_2Change()
{
    counter(lbDescription250_2, 250, memDescription250_2->countedLength(), false);
}

void TfrmProjectMaterials::memDescription500_2Change()
{
    counter(lbDescription500_2, 500, memDescription500_2->countedLength(), false);
}

void TfrmProjectMaterials::memKeywords100_2Change() { counter(lbKeywords100_2, 100, memKeywords100_2->countedLength(), true); }

void TfrmProjectMaterials::memKeywords250_2Change() { counter(lbKeywords250_2, 250, memKeywords250_2->countedLength(), true); }

void TfrmProjectMaterials::memKeywords500_2Change() { counter(lbKeywords500_2, 500, memKeywords500_2->countedLength(), true); }

void TfrmProjectMaterials::memKeywords_2Change()
{
    markEdited(SiteTab);
    const QString text = memKeywords_2->storedText();
    // Each copy that changes a field runs that field's counter.
    for (MaterialMemo *m : {memKeywords500_2, memKeywords250_2, memKeywords100_2}) {
        if (m->storedText() != text)
            m->setStoredText(text);
    }
}

// ---- scrolling ----

void TfrmProjectMaterials::ScrollBox1MouseWheel(int delta)
{
    QScrollBar *bar = ScrollBox1->verticalScrollBar();
    bar->setValue(bar->value() + (delta > 0 ? -kWheelStep : kWheelStep));
}

void TfrmProjectMaterials::ScrollBox2MouseWheel(int delta)
{
    QScrollBar *bar = ScrollBox2->verticalScrollBar();
    bar->setValue(bar->value() + (delta > 0 ? -kWheelStep : kWheelStep));
}

void TfrmProjectMaterials::ScrollBox1Click() { setFocus(Qt::MouseFocusReason); }

bool TfrmProjectMaterials::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel) {
        const int delta = static_cast<QWheelEvent *>(event)->angleDelta().y();
        if (watched == ScrollBox1->viewport()) {
            ScrollBox1MouseWheel(delta);
            return true;
        }
        if (watched == ScrollBox2->viewport()) {
            ScrollBox2MouseWheel(delta);
            return true;
        }
        // The letters' page does not scroll by the wheel.
        if (watched == ScrollBox5->viewport())
            return true;
    }
    if (event->type() == QEvent::MouseButtonPress && (watched == ScrollBox1->viewport() || watched == ScrollBox1->widget()))
        ScrollBox1Click();
    return QWidget::eventFilter(watched, event);
}

// ---- help links and the file size ----

void TfrmProjectMaterials::openHelp(const QString &board)
{
    // The support forum lives on the maker's site unless configured apart.
    const QString host = m_ctx.hostSetting(QStringLiteral("forum"), m_ctx.makerUrl().toString());
    prompt().openUrl(QUrl(host + QStringLiteral("/index.php?board=") + board));
}

void TfrmProjectMaterials::Label7Click() { openHelp(QStringLiteral("8.0")); }
void TfrmProjectMaterials::Label5Click() { openHelp(QStringLiteral("9.0")); }
void TfrmProjectMaterials::Label4Click() { openHelp(QStringLiteral("11.0")); }

void TfrmProjectMaterials::Button3Click()
{
    const QString name = prompt().openFileName(QString(), QString(), QString());
    if (name.isEmpty())
        return;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        prompt().message(QStringLiteral("Cannot open file \"%1\". %2").arg(name, file.errorString()), core::MessageIcon::Error);
        return;
    }
    const qint64 size = file.size();
    file.close();
    if (edtBSize1)
        edtBSize1->setText(QString::number(size));
}

void TfrmProjectMaterials::saveLoaded(int tab, MaterialKind kind, const QList<db::FieldValue> &fields,
                                      const std::function<QString(const LoadedMaterial &)> &sql)
{
    if (!projectChosen())
        return;
    LoadedMaterial &l = m_loaded[static_cast<size_t>(tab)];
    // What the tab shows belongs to no row of the current project: nothing
    // to save it to, and the user is told so, edits kept on screen.
    if (!l.isLoaded() || l.projectId != m_ctx.CurrentProjectId) {
        prompt().message(QStringLiteral("Материал не сохранён: на этой вкладке нет материала, загруженного для текущего проекта. "
                                        "Выберите материал в списке или создайте новый."));
        return;
    }
    MaterialChanged = false;
    l.edited = false;
    auto keepEdits = [this, &l] {
        l.edited = true;
        MaterialChanged = true;
    };
    if (!db::FieldsFit(MaterialTable(kind), fields))
        return keepEdits();
    const QString statement = sql(l);
    switch (db::SaveRow(l.row, fields, [&statement] { return db::ExecQuery(statement) == 0; })) {
    case db::SaveOutcome::Saved: return;
    case db::SaveOutcome::Gone: prompt().message(db::RowGoneMessage()); return keepEdits();
    case db::SaveOutcome::Declined:
    case db::SaveOutcome::Failed: return keepEdits();
    }
}

void TfrmProjectMaterials::showCopy(int tab, MaterialKind kind, int id, int projectId)
{
    LoadedMaterial &l = m_loaded[static_cast<size_t>(tab)];
    // The fields now belong to the copy; the flag stays as it was.
    l = LoadedMaterial{id, projectId, l.edited,
                       db::LoadedRow::read(MaterialTable(kind), MaterialPrefix(kind) + QStringLiteral("id"), id)};
}

} // namespace qv::projects
