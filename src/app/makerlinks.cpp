#include "app/makerlinks.h"
#include "core/appcontext.h"
#include "core/launcher.h"
#include "core/prompt.h"

namespace qv::app {

const QList<MakerLink> &MakerLinks()
{
    static const QList<MakerLink> links = {
        {"frmMain", "N1", "Проверить обновление программы...", "", LinkWay::Launch},
        {"frmMain", "N28", "Справка: Обновление программы", "/index.php?topic=23.0", LinkWay::ShellOpen},
        {"frmMain", "N26", "Справка: Работа с проектом", "/index.php?topic=22.0", LinkWay::ShellOpen},
        {"frmMain", "N38", "Справка: Принцип работы авто-проверки", "/index.php?topic=24.0", LinkWay::ShellOpen},
        {"frmMain", "N11", "Как создать плагин...", "/new/index.php?board=6.0 ", LinkWay::Launch},
        {"frmMain", "N3", "Как установить новый плагин...", "/new/index.php?board=4.0 ", LinkWay::Launch},
        {"frmMain", "N12", "Плагины из Интернет...", "/new/index.php?board=4.0 ", LinkWay::Launch},
        {"frmHelp", "Button2", "Коды кнопок (html)", "/index.php?topic=17.0", LinkWay::ShellOpen},
        {"frmHelp", "Button3", "Примеры статей", "/index.php?topic=18.0", LinkWay::ShellOpen},
        {"frmHelp", "Button4", "Коды ссылок (html)", "/index.php?topic=19.0", LinkWay::ShellOpen},
        {"frmHelp", "Button6", "Форум", "/index.php?action=register", LinkWay::ShellOpen},
        {"frmHelp", "Button7", "Предложения", "/index.php?action=post;board=3.0", LinkWay::ShellOpen},
        {"frmHelp", "Button8", "Ошибки", "/index.php?action=post;board=1.0", LinkWay::ShellOpen},
        {"frmGoAd", "BitBtn1", "Выбор хостинга - лучшие хостинг компании ...", "/pad/Hosting.php", LinkWay::ShellOpen},
        {"frmGoAd", "BitBtn2", "Сервисы и программы для раскрутки сайтов ...", "/pad/SeoSoft.php", LinkWay::ShellOpen},
        {"frmGoAd", "BitBtn3", "Студии раскрутки и продвижения сайтов ...", "/pad/SeoStudios.php", LinkWay::ShellOpen},
        {"frmGoAd", "BitBtn4", "Заработак для владельцев сайтов (партнерки) ...", "/pad/Partners.php", LinkWay::ShellOpen},
    };
    return links;
}

const MakerLink *FindMakerLink(const QString &window, const QString &control)
{
    for (const MakerLink &l : MakerLinks()) {
        if (window == QLatin1String(l.window) && control == QLatin1String(l.control))
            return &l;
    }
    return nullptr;
}

void OpenMakerLink(const core::AppContext &ctx, const MakerLink &link)
{
    const QString address = ctx.makerUrl(QString::fromUtf8(link.path)).toString().trimmed();
    if (link.way == LinkWay::Launch)
        core::LaunchProgram(address, QString(), ctx.AppDir);
    else
        core::prompt().openUrl(QUrl(address));
}

void OpenMakerPage(const core::AppContext &ctx, const QString &path) { core::prompt().openUrl(ctx.makerUrl(path)); }

} // namespace qv::app
